#include "lockkeys/modsync.h"

#include "platform/keyboard.h"

#include <cctype>
#include <cstdint>
#include <optional>

namespace {

struct KeyName {
    std::string_view name;
    VirtualKey key;
};

using enum VirtualKey;

// Tried in this order; where one name begins another the longer one comes first.
constexpr KeyName KeyNames[] = {
    {"BACKSPACE", Back},
    {"BS", Back},
    {"BKSP", Back},
    {"BREAK", Pause},
    {"CAPSLOCK", Capital},
    {"DELETE", Delete},
    {"DEL", Delete},
    {"DOWN", Down},
    {"UP", Up},
    {"LEFT", Left},
    {"RIGHT", Right},
    {"END", End},
    {"ENTER", Return},
    {"HOME", Home},
    {"ESC", Escape},
    {"HELP", Help},
    {"INSERT", Insert},
    {"INS", Insert},
    {"NUMLOCK", NumLock},
    {"PGUP", Prior},
    {"PGDN", Next},
    {"SCROLLOCK", Scroll},
    {"TAB", Tab},
    {"F10", F10},
    {"F11", F11},
    {"F12", F12},
    {"F13", F13},
    {"F14", F14},
    {"F15", F15},
    {"F16", F16},
    {"F1", F1},
    {"F2", F2},
    {"F3", F3},
    {"F4", F4},
    {"F5", F5},
    {"F6", F6},
    {"F7", F7},
    {"F8", F8},
    {"F9", F9},
    {"WIN", LWin},
    {"APPS", Apps},
    {"PRINT", Snapshot},
};

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

void send(Keyboard& keyboard, VirtualKey key, std::uint32_t flags) {
    keyboard.sendKeyEvent({static_cast<std::uint8_t>(key), ScanCode, flags, 0});
}

void tap(Keyboard& keyboard, VirtualKey key) {
    send(keyboard, key, 0);
    send(keyboard, key, KeyEventFlag::KeyUp);
}

std::optional<VirtualKey> modifierKey(char c) {
    switch (c) {
    case '+':
        return Shift;
    case '%':
        return Menu;
    case '^':
        return Control;
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
                tap(keyboard, key->key);
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
                send(keyboard, Shift, 0);
            // A character is sent under its own code, upper case.
            tap(keyboard, static_cast<VirtualKey>(upper(c)));
            if (shifted)
                send(keyboard, Shift, KeyEventFlag::KeyUp);
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
    keyboard.catchUp();
    for (LockKey key : {LockKey::Num, LockKey::Scroll, LockKey::Caps})
        if (IsLockOn(keyboard, key))
            Toggle(keyboard, key);
}

} // namespace modSync
