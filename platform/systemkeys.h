#pragma once

#include <vector>

// The key each system knows by, for a virtual-key code the key-sequence sender produces; 0 for
// none. Characters without a key of their own are typed on the US layout's keys.

// The X keysym, looked up in the X server's keymap.
unsigned long x11Keysym(int virtualKey);

// The Linux input key (KEY_*).
int linuxKeyCode(int virtualKey);

// Every key linuxKeyCode() gives, once each: the keys a virtual keyboard must declare.
std::vector<int> linuxKeyCodes();
