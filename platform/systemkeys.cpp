#include "platform/systemkeys.h"

#include "platform/virtualkey.h"

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct SystemKey {
    unsigned long keysym = 0;
    int linuxKey = 0;
};

constexpr std::array<SystemKey, 256> makeKeys() {
    std::array<SystemKey, 256> keys{};
    const auto set = [&keys](VirtualKey key, unsigned long keysym, int linuxKey) {
        keys[virtualKeyCode(key)] = {keysym, linuxKey};
    };
    using enum VirtualKey;
    set(Back, XK_BackSpace, KEY_BACKSPACE);
    set(Tab, XK_Tab, KEY_TAB);
    set(Return, XK_Return, KEY_ENTER);
    set(Shift, XK_Shift_L, KEY_LEFTSHIFT);
    set(Control, XK_Control_L, KEY_LEFTCTRL);
    set(Menu, XK_Alt_L, KEY_LEFTALT);
    set(Pause, XK_Pause, KEY_PAUSE);
    set(Capital, XK_Caps_Lock, KEY_CAPSLOCK);
    set(Escape, XK_Escape, KEY_ESC);
    set(Space, XK_space, KEY_SPACE);
    set(Prior, XK_Prior, KEY_PAGEUP);
    set(Next, XK_Next, KEY_PAGEDOWN);
    set(End, XK_End, KEY_END);
    set(Home, XK_Home, KEY_HOME);
    set(Left, XK_Left, KEY_LEFT);
    set(Up, XK_Up, KEY_UP);
    set(Right, XK_Right, KEY_RIGHT);
    set(Down, XK_Down, KEY_DOWN);
    set(Snapshot, XK_Print, KEY_SYSRQ);
    set(Insert, XK_Insert, KEY_INSERT);
    set(Delete, XK_Delete, KEY_DELETE);
    set(Help, XK_Help, KEY_HELP);
    set(LWin, XK_Super_L, KEY_LEFTMETA);
    set(Apps, XK_Menu, KEY_COMPOSE);
    set(NumLock, XK_Num_Lock, KEY_NUMLOCK);
    set(Scroll, XK_Scroll_Lock, KEY_SCROLLLOCK);
    constexpr int Digits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    for (int i = 0; i < 10; ++i)
        set(nthKey(Key0, i), XK_0 + static_cast<unsigned long>(i), Digits[i]);
    constexpr int Letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                               KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                               KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int i = 0; i < 26; ++i)
        set(nthKey(KeyA, i), XK_a + static_cast<unsigned long>(i), Letters[i]);
    constexpr int Functions[] = {KEY_F1,  KEY_F2,  KEY_F3,  KEY_F4,  KEY_F5,  KEY_F6,
                                 KEY_F7,  KEY_F8,  KEY_F9,  KEY_F10, KEY_F11, KEY_F12,
                                 KEY_F13, KEY_F14, KEY_F15, KEY_F16};
    for (int i = 0; i < 16; ++i)
        set(nthKey(F1, i), XK_F1 + static_cast<unsigned long>(i), Functions[i]);
    // Printable characters whose code names no key of their own: on X the character itself
    // (Latin-1 keysyms equal their character codes), on Linux the key that carries it; the
    // sender holds Shift around them.
    constexpr std::pair<char, int> Punctuation[] = {
        {')', KEY_0},         {'*', KEY_8},     {'+', KEY_EQUAL},      {':', KEY_SEMICOLON},
        {';', KEY_SEMICOLON}, {'<', KEY_COMMA}, {'=', KEY_EQUAL},      {'>', KEY_DOT},
        {'?', KEY_SLASH},     {'@', KEY_2},     {'\\', KEY_BACKSLASH}, {'^', KEY_6},
        {'_', KEY_MINUS},     {'`', KEY_GRAVE}};
    for (const auto& [character, linuxKey] : Punctuation)
        keys[static_cast<unsigned char>(character)] = {static_cast<unsigned char>(character),
                                                       linuxKey};
    return keys;
}

constexpr std::array<SystemKey, 256> Keys = makeKeys();

SystemKey systemKey(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 ? Keys[virtualKey] : SystemKey{};
}

} // namespace

unsigned long x11Keysym(int virtualKey) {
    return systemKey(virtualKey).keysym;
}

int linuxKeyCode(int virtualKey) {
    return systemKey(virtualKey).linuxKey;
}

std::vector<int> linuxKeyCodes() {
    std::vector<int> codes;
    for (const SystemKey& key : Keys)
        if (key.linuxKey != 0)
            codes.push_back(key.linuxKey);
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}
