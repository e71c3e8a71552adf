#pragma once

#include <optional>
#include <vector>

struct _XDisplay;

// Where the X server binds no modifier to Scroll_Lock (a stock Xvfb, many desktops), Scroll Lock
// does not toggle: its key is bound to a free modifier row (Mod1 to Mod5) while the program
// runs. The binding is shared by every copy of the program on the display, from any process,
// through a record on the root window that names the key, the row and a window of each copy
// using it; a copy's window carries a marker that only the program sets, and it goes when the
// copy's connection does, however it ends. The record is read as input from a stranger: the
// key must be Scroll_Lock's and the row hold it alone, or the record counts as absent. Each copy
// remembers the binding it uses and, the last one to go, removes exactly that, whatever the
// record says; a binding whose users are all gone is a leftover, taken over by the next copy.
// While a key is held down, the server refuses to bind: use() then tells to try again later.
// Unbinding is not refused.
class ScrollLockBinding {
public:
    // The X key bound, and its modifier row (3 to 7: Mod1 to Mod5).
    struct Binding {
        unsigned char keyCode = 0;
        int row = 0;

        friend bool operator==(const Binding&, const Binding&) = default;
    };

    enum class State {
        Toggles,   // a modifier carries Scroll_Lock: ours, or the keymap's own
        Refused,   // not yet: the server refuses to bind while a key is held down
        NoKey,     // the keymap has no Scroll_Lock key
        NoFreeRow, // Scroll_Lock has no modifier, and Mod1 to Mod5 are all taken
    };

    // Marks a window of its own on `display` as this copy's. `remembered` is the binding that a
    // former connection of this copy used.
    explicit ScrollLockBinding(_XDisplay* display, std::optional<Binding> remembered = {});

    ScrollLockBinding(const ScrollLockBinding&) = delete;
    ScrollLockBinding& operator=(const ScrollLockBinding&) = delete;

    // Brings the binding in line with the map while this copy uses it: taken over or made where
    // none stands, made anew where a keymap change dropped it.
    State use();

    // This copy stops using it: the binding goes unless another copy still uses it.
    void release();

    std::optional<Binding> own() const { return m_own; }

private:
    struct Record;
    struct Map;

    void settle(bool inUse);
    void settle(const Map& map, bool inUse);
    void bind(const Map& map, int preferredRow);
    void unbind(const Map& map, Binding binding) const;
    std::optional<Binding> recorded(const Record& record, const Map& map) const;
    bool isUser(long window) const;
    void write(const Record& record, const std::vector<long>& users) const;

    _XDisplay* const m_display;
    unsigned long m_root = 0;
    unsigned long m_recordAtom = 0;
    unsigned long m_markerAtom = 0;
    unsigned long m_self = 0; // this copy's window
    std::optional<Binding> m_own;
    State m_state = State::Toggles;
};
