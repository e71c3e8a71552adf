#pragma once

#include <vector>

// The Linux input key (KEY_*) that a virtual-key code the key-sequence sender produces stands
// for; 0 for none. Characters are typed on the US layout's keys.
int linuxKeyCode(int virtualKey);

// Every key linuxKeyCode() gives, once each: the keys a virtual keyboard must declare.
std::vector<int> linuxKeyCodes();
