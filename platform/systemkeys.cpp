#include "platform/systemkeys.h"

#include "platform/keyboard.h"

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace {

struct SystemKey {
    unsigned long keysym = 0;
    int linuxKey = 0;
};

constexpr std::array<SystemKey, 256> makeKeys() {
    std::array<SystemKey, 256> keys{};
    keys[8] = {XK_BackSpace, KEY_BACKSPACE};
    keys[9] = {XK_Tab, KEY_TAB};
    keys[13] = {XK_Return, KEY_ENTER};
    keys[16] = {XK_Shift_L, KEY_LEFTSHIFT};
    keys[17] = {XK_Control_L, KEY_LEFTCTRL};
    keys[18] = {XK_Alt_L, KEY_LEFTALT};
    keys[19] = {XK_Pause, KEY_PAUSE};
    keys[LockKeyCode::Caps] = {XK_Caps_Lock, KEY_CAPSLOCK};
    keys[27] = {XK_Escape, KEY_ESC};
    keys[32] = {XK_space, KEY_SPACE};
    keys[33] = {XK_Prior, KEY_PAGEUP};
    keys[34] = {XK_Next, KEY_PAGEDOWN};
    keys[35] = {XK_End, KEY_END};
    keys[36] = {XK_Home, KEY_HOME};
    keys[37] = {XK_Left, KEY_LEFT};
    keys[38] = {XK_Up, KEY_UP};
    keys[39] = {XK_Right, KEY_RIGHT};
    keys[40] = {XK_Down, KEY_DOWN};
    keys[44] = {XK_Print, KEY_SYSRQ};
    keys[45] = {XK_Insert, KEY_INSERT};
    keys[46] = {XK_Delete, KEY_DELETE};
    keys[47] = {XK_Help, KEY_HELP};
    // Printable characters whose code names no key of their own: on X the character itself
    // (Latin-1 keysyms equal their character codes), on Linux the key that carries it; the
    // sender holds Shift around them.
    keys[41] = {XK_parenright, KEY_0};
    keys[42] = {XK_asterisk, KEY_8};
    keys[43] = {XK_plus, KEY_EQUAL};
    keys[58] = {XK_colon, KEY_SEMICOLON};
    keys[59] = {XK_semicolon, KEY_SEMICOLON};
    keys[60] = {XK_less, KEY_COMMA};
    keys[61] = {XK_equal, KEY_EQUAL};
    keys[62] = {XK_greater, KEY_DOT};
    keys[63] = {XK_question, KEY_SLASH};
    keys[64] = {XK_at, KEY_2};
    keys[92] = {XK_backslash, KEY_BACKSLASH};
    keys[94] = {XK_asciicircum, KEY_6};
    keys[95] = {XK_underscore, KEY_MINUS};
    keys[96] = {XK_grave, KEY_GRAVE};
    constexpr int Digits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    for (int i = 0; i < 10; ++i)
        keys[48 + i] = {XK_0 + static_cast<unsigned long>(i), Digits[i]};
    constexpr int Letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                               KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                               KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int i = 0; i < 26; ++i)
        keys[65 + i] = {XK_a + static_cast<unsigned long>(i), Letters[i]};
    keys[91] = {XK_Super_L, KEY_LEFTMETA};
    keys[93] = {XK_Menu, KEY_COMPOSE};
    constexpr int Functions[] = {KEY_F1,  KEY_F2,  KEY_F3,  KEY_F4,  KEY_F5,  KEY_F6,
                                 KEY_F7,  KEY_F8,  KEY_F9,  KEY_F10, KEY_F11, KEY_F12,
                                 KEY_F13, KEY_F14, KEY_F15, KEY_F16};
    for (int i = 0; i < 16; ++i)
        keys[112 + i] = {XK_F1 + static_cast<unsigned long>(i), Functions[i]};
    keys[LockKeyCode::Num] = {XK_Num_Lock, KEY_NUMLOCK};
    keys[LockKeyCode::Scroll] = {XK_Scroll_Lock, KEY_SCROLLLOCK};
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
