#include "linuxkeycodes.h"

#include "keyboard.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 256> makeKeyCodes() {
    std::array<int, 256> keys{};
    keys[8] = KEY_BACKSPACE;
    keys[9] = KEY_TAB;
    keys[13] = KEY_ENTER;
    keys[16] = KEY_LEFTSHIFT;
    keys[17] = KEY_LEFTCTRL;
    keys[18] = KEY_LEFTALT;
    keys[19] = KEY_PAUSE;
    keys[LockKeyCode::Caps] = KEY_CAPSLOCK;
    keys[27] = KEY_ESC;
    keys[32] = KEY_SPACE;
    keys[33] = KEY_PAGEUP;
    keys[34] = KEY_PAGEDOWN;
    keys[35] = KEY_END;
    keys[36] = KEY_HOME;
    keys[37] = KEY_LEFT;
    keys[38] = KEY_UP;
    keys[39] = KEY_RIGHT;
    keys[40] = KEY_DOWN;
    keys[44] = KEY_SYSRQ; // Print
    keys[45] = KEY_INSERT;
    keys[46] = KEY_DELETE;
    keys[47] = KEY_HELP;
    // Printable characters whose code names no key of their own go to the key that carries
    // the character; the sender holds Shift around them.
    keys[41] = KEY_0;         // )
    keys[42] = KEY_8;         // *
    keys[43] = KEY_EQUAL;     // +
    keys[58] = KEY_SEMICOLON; // :
    keys[59] = KEY_SEMICOLON; // ;
    keys[60] = KEY_COMMA;     // <
    keys[61] = KEY_EQUAL;     // =
    keys[62] = KEY_DOT;       // >
    keys[63] = KEY_SLASH;     // ?
    keys[64] = KEY_2;         // @
    keys[92] = KEY_BACKSLASH; // backslash
    keys[94] = KEY_6;         // ^
    keys[95] = KEY_MINUS;     // _
    keys[96] = KEY_GRAVE;     // `
    constexpr int Digits[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    for (int i = 0; i < 10; ++i)
        keys[48 + i] = Digits[i];
    constexpr int Letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                               KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                               KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int i = 0; i < 26; ++i)
        keys[65 + i] = Letters[i];
    keys[91] = KEY_LEFTMETA;
    keys[93] = KEY_COMPOSE; // the menu key
    constexpr int Functions[] = {KEY_F1,  KEY_F2,  KEY_F3,  KEY_F4,  KEY_F5,  KEY_F6,
                                 KEY_F7,  KEY_F8,  KEY_F9,  KEY_F10, KEY_F11, KEY_F12,
                                 KEY_F13, KEY_F14, KEY_F15, KEY_F16};
    for (int i = 0; i < 16; ++i)
        keys[112 + i] = Functions[i];
    keys[LockKeyCode::Num] = KEY_NUMLOCK;
    keys[LockKeyCode::Scroll] = KEY_SCROLLLOCK;
    return keys;
}

constexpr std::array<int, 256> KeyCodes = makeKeyCodes();

} // namespace

int linuxKeyCode(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 ? KeyCodes[virtualKey] : 0;
}

std::vector<int> linuxKeyCodes() {
    std::vector<int> codes;
    for (int code : KeyCodes)
        if (code != 0)
            codes.push_back(code);
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}
