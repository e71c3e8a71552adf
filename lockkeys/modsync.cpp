#include "lockkeys/modsync.h"

#include "platform/keyboard.h"

#include <cctype>
#include <cstdint>
#include <optional>

namespace {

struct KeyName {
    std::string_view name;
    std::uint8_t keyCode;
};

// Tried in this order; where one name begins another the longer one comes first.
constexpr KeyName KeyNames[] = {
    {"BACKSPACE", 8}, {"BS", 8},          {"BKSP", 8},   {"BREAK", 19},    {"CAPSLOCK", 20},
    {"DELETE", 46},   {"DEL", 46},        {"DOWN", 40},  {"UP", 38},       {"LEFT", 37},
    {"RIGHT", 39},    {"END", 35},        {"ENTER", 13}, {"HOME", 36},     {"ESC", 27},
    {"HELP", 47},     {"INSERT", 45},     {"INS", 45},   {"NUMLOCK", 144}, {"PGUP", 33},
    {"PGDN", 34},     {"SCROLLOCK", 145}, {"TAB", 9},    {"F10", 121},     {"F11", 122},
    {"F12", 123},     {"F13", 124},       {"F14", 125},  {"F15", 126},     {"F16", 127},
    {"F1", 112},      {"F2", 113},        {"F3", 114},   {"F4", 115},      {"F5", 116},
    {"F6", 117},      {"F7", 118},        {"F8", 119},   {"F9", 120},      {"WIN", 91},
    {"APPS", 93},     {"PRINT", 44},
};

constexpr std::uint8_t Shift = 16;
constexpr std::uint8_t ScanCode = 1;

unsigned char upper(unsigned char c) {
    return static_cast<unsigned char>(std::toupper(c));
}

bool startsWithName(std::string_view text, std::string_view name) {
    if (text.size() < name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (upper(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(name[i]))
            return false;
    return true;
}

const KeyName* matchName(std::string_view text) {
    for (const KeyName& key : KeyNames)
        if (startsWithName(text, key.name))
            return &key;
    return nullptr;
}

void tap(Keyboard& keyboard, std::uint8_t keyCode) {
    keyboard.sendKeyEvent({keyCode, ScanCode, 0, 0});
    keyboard.sendKeyEvent({keyCode, ScanCode, KeyEventFlag::KeyUp, 0});
}

std::optional<std::uint8_t> modifierKey(char c) {
    switch (c) {
    case '+':
        return 16;
    case '%':
        return 18;
    case '^':
        return 17;
    default:
        return std::nullopt;
    }
}

} // namespace

namespace modSync {

void SendKeyString(Keyboard& keyboard, std::string_view keys) {
    std::size_t p = 0;
    while (p < keys.size()) {
        const auto c = static_cast<unsigned char>(keys[p]);
        if (c == '{') {
            const std::string_view rest = keys.substr(p + 1);
            if (const KeyName* key = matchName(rest)) {
                tap(keyboard, key->keyCode);
                // The character after the name is taken to be the closing brace, unexamined.
                p += 1 + key->name.size() + 1;
            } else {
                // An unknown name is dropped up to its closing brace, or to the end of the text.
                const std::size_t close = rest.find('}');
                p = close == std::string_view::npos ? keys.size() : p + 1 + close + 1;
            }
            continue;
        }
        if (const auto modifier = modifierKey(static_cast<char>(c))) {
            tap(keyboard, *modifier);
        } else if (c < 0x80) {
            const bool shifted = upper(c) == c && !std::isdigit(c);
            if (shifted)
                keyboard.sendKeyEvent({Shift, ScanCode, 0, 0});
            tap(keyboard, upper(c));
            if (shifted)
                keyboard.sendKeyEvent({Shift, ScanCode, KeyEventFlag::KeyUp, 0});
        }
        // Bytes from 0x80 up are no key of their own (a part of a multi-byte character): skipped.
        ++p;
    }
}

bool IsLockOn(const Keyboard& keyboard, LockKey key) {
    return keyboard.keyState(info(key).keyCode) == KeyStateBit::Toggled;
}

void Toggle(Keyboard& keyboard, LockKey key) {
    SendKeyString(keyboard, info(key).toggleString);
}

void TurnOffLitLocks(Keyboard& keyboard) {
    for (LockKey key : {LockKey::Num, LockKey::Scroll, LockKey::Caps})
        if (IsLockOn(keyboard, key))
            Toggle(keyboard, key);
}

} // namespace modSync
