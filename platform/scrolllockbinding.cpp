#include "platform/scrolllockbinding.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

namespace {

constexpr unsigned bit(int row) {
    return 1u << row;
}

} // namespace

// The modifier map and the keys' symbols, as the server has them.
struct ScrollLockBinding::Map {
    explicit Map(Display* display)
        : display(display),
          xkb(XkbGetMap(display, XkbModifierMapMask | XkbKeySymsMask, XkbUseCoreKbd)) {}
    ~Map() {
        if (xkb)
            XkbFreeKeyboard(xkb, 0, True);
    }
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    bool has(int key) const { return key >= xkb->min_key_code && key <= xkb->max_key_code; }
    unsigned mods(int key) const { return has(key) ? xkb->map->modmap[key] : 0u; }
    std::span<const KeySym> syms(int key) const {
        return {XkbKeySymsPtr(xkb, key), std::size_t(XkbKeyNumSyms(xkb, key))};
    }
    bool isScrollLock(int key) const {
        return has(key) && std::ranges::count(syms(key), KeySym(XK_Scroll_Lock)) > 0;
    }

    // The key that Scroll Lock's strokes go to, found as XKeysymToKeycode finds it; 0 for none.
    KeyCode scrollLockKey() const {
        for (std::size_t level = 0;; ++level) {
            bool more = false;
            for (int key = xkb->min_key_code; key <= xkb->max_key_code; ++key) {
                const auto s = syms(key);
                more = more || level < s.size();
                if (level < s.size() && s[level] == XK_Scroll_Lock)
                    return KeyCode(key);
            }
            if (!more)
                return 0;
        }
    }

    // Whether `key` is the only key in `row`; with key 0, whether the row is free.
    bool holdsAlone(int row, int key) const {
        for (int k = xkb->min_key_code; k <= xkb->max_key_code; ++k)
            if (bool(mods(k) & bit(row)) != (k == key))
                return false;
        return true;
    }

    // False when the server refuses it for a key held down.
    bool change(KeyCode key, int row, bool bound) const {
        XModifierKeymap* map = XGetModifierMapping(display);
        map =
            bound ? XInsertModifiermapEntry(map, key, row) : XDeleteModifiermapEntry(map, key, row);
        const int result = XSetModifierMapping(display, map);
        XFreeModifiermap(map);
        if (result == MappingSuccess)
            keep(key, row, bound);
        return result != MappingBusy;
    }

    // Through XKB, which the server does not refuse while a key is held down (Alt, pressed with
    // F4 to close a window). It does leave the server's idea of the ScrollLock virtual modifier
    // as it was, which the next core change puts right: binding so would leave the indicator
    // unlit where that idea is out of date, so XKB only ever unbinds.
    void unbind(KeyCode key, int row) const {
        if (change(key, row, false))
            return;
        keep(key, row, false);
        XkbMapChangesRec changes{};
        changes.changed = XkbModifierMapMask;
        changes.first_modmap_key = key;
        changes.num_modmap_keys = 1;
        XkbChangeMap(display, xkb, &changes);
    }

    // The change made, as seen here.
    void keep(KeyCode key, int row, bool bound) const {
        const auto mods = static_cast<unsigned char>(bit(row));
        xkb->map->modmap[key] =
            bound ? xkb->map->modmap[key] | mods : xkb->map->modmap[key] & ~mods;
    }

    Display* const display;
    const XkbDescPtr xkb;
};

// The record as found on the root window, format 32 as longs: key, row, then the users'
// windows. Anyone may have written it.
struct ScrollLockBinding::Record {
    explicit Record(Display* display, Window root, Atom atom) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, root, atom, 0, 1024, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) != Success)
            return;
        if (type == XA_CARDINAL && format == 32) {
            const auto* longs = reinterpret_cast<const long*>(data);
            values.assign(longs, longs + count);
        }
        XFree(data);
    }

    std::span<const long> users() const {
        return values.size() > 2 ? std::span(values).subspan(2) : std::span<const long>();
    }

    std::vector<long> values;
};

ScrollLockBinding::ScrollLockBinding(Display* display, std::optional<Binding> remembered)
    : m_display(display), m_own(remembered) {
    m_root = DefaultRootWindow(display);
    m_recordAtom = XInternAtom(display, "_TINTARO_SCROLL_LOCK_BINDING", False);
    m_markerAtom = XInternAtom(display, "_TINTARO_SCROLL_LOCK_USER", False);
    m_self = XCreateWindow(display, m_root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                           CopyFromParent, 0, nullptr);
    // The process, for whoever looks.
    const long pid = getpid();
    XChangeProperty(display, m_self, m_markerAtom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
}

ScrollLockBinding::State ScrollLockBinding::use() {
    settle(true);
    return m_state;
}

void ScrollLockBinding::release() {
    settle(false);
}

std::optional<ScrollLockBinding::Binding> ScrollLockBinding::recorded(const Record& record,
                                                                      const Map& map) const {
    if (record.values.size() < 2)
        return std::nullopt;
    const long key = record.values[0], row = record.values[1];
    if (row < Mod1MapIndex || row > Mod5MapIndex || !map.isScrollLock(int(key)) ||
        !map.holdsAlone(int(row), int(key)))
        return std::nullopt;
    return Binding{static_cast<unsigned char>(key), int(row)};
}

// Under a server grab, where no window comes or goes meanwhile.
bool ScrollLockBinding::isUser(long user) const {
    const auto window = Window(user);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (window == m_self || !XQueryTree(m_display, m_root, &root, &parent, &children, &count))
        return false;
    const bool present = std::ranges::count(std::span(children, count), window) > 0;
    XFree(children);
    if (!present)
        return false;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(m_display, window, m_markerAtom, 0, 0, False, AnyPropertyType, &type,
                       &format, &items, &after, &data);
    XFree(data);
    return type != 0;
}

void ScrollLockBinding::write(const Record& record, const std::vector<long>& users) const {
    std::vector<long> values;
    if (m_own && !users.empty()) {
        values = {m_own->keyCode, m_own->row};
        values.insert(values.end(), users.begin(), users.end());
    }
    if (values == record.values)
        return;
    if (values.empty())
        XDeleteProperty(m_display, m_root, m_recordAtom);
    else
        XChangeProperty(m_display, m_root, m_recordAtom, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values.data()),
                        static_cast<int>(values.size()));
}

// Under a server grab, so that copies starting, ending or following a keymap change at the
// same moment see each other's changes whole.
void ScrollLockBinding::settle(bool inUse) {
    XGrabServer(m_display);
    if (const Map map(m_display); map.xkb)
        settle(map, inUse);
    XUngrabServer(m_display);
    XSync(m_display, False);
}

void ScrollLockBinding::settle(const Map& map, bool inUse) {
    const Record record(m_display, m_root, m_recordAtom);
    int lostRow = -1;
    if (m_own &&
        !(map.isScrollLock(m_own->keyCode) && (map.mods(m_own->keyCode) & bit(m_own->row)))) {
        // A keymap change took it: the new keymap no longer shows a lock left on its modifier
        // on the indicator, and where the key is no longer Scroll_Lock's, our entry goes.
        lostRow = m_own->row;
        unbind(map, *m_own);
        m_own.reset();
    }
    const std::optional<Binding> theirs = recorded(record, map);
    if (!m_own)
        m_own = theirs;      // another copy's, or left over by one killed outright
    std::vector<long> users; // the other copies that use it
    if (m_own && m_own == theirs)
        std::ranges::copy_if(record.users(), std::back_inserter(users),
                             [this](long user) { return isUser(user); });
    if (inUse) {
        if (m_own)
            m_state = State::Toggles;
        else
            bind(map, lostRow);
        users.push_back(long(m_self));
    } else if (m_own && users.empty()) {
        unbind(map, *m_own);
    }
    write(record, users);
    if (!inUse)
        m_own.reset();
}

void ScrollLockBinding::bind(const Map& map, int preferredRow) {
    const KeyCode key = map.scrollLockKey();
    if (key == 0) {
        m_state = State::NoKey;
        return;
    }
    if (map.mods(key) != 0) {
        m_state = State::Toggles; // the keymap's own: left alone
        return;
    }
    int row = preferredRow >= 0 && map.holdsAlone(preferredRow, 0) ? preferredRow : -1;
    for (int r = Mod1MapIndex; r <= Mod5MapIndex && row < 0; ++r)
        if (map.holdsAlone(r, 0))
            row = r;
    if (row < 0) {
        m_state = State::NoFreeRow;
        return;
    }
    // The server's XKB compat rules then turn the modifier into the ScrollLock virtual modifier
    // that the "Scroll Lock" indicator follows.
    if (!map.change(key, row, true)) {
        m_state = State::Refused;
        return;
    }
    m_own = Binding{key, row};
    m_state = State::Toggles;
}

// Only our own entry goes, so that changes made by others since stay; no lock is left on a
// modifier that no key may carry any longer.
void ScrollLockBinding::unbind(const Map& map, Binding binding) const {
    XkbLockModifiers(m_display, XkbUseCoreKbd, bit(binding.row), 0);
    if (map.mods(binding.keyCode) & bit(binding.row))
        map.unbind(binding.keyCode, binding.row);
}
