#pragma once

#include <QList>
#include <QStringList>

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include <memory>
#include <span>

// An X client of its own that watches the keyboard, and strikes keys, as any other program on
// the display would. Include it after every Qt header: Xlib's macros clash with Qt.
struct X11Observer {
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), XCloseDisplay};
    Display* const dpy = display.get();

    Atom atom(const char* name) const { return XInternAtom(dpy, name, False); }

    bool lit(const char* indicator) const {
        Bool on = False;
        XkbGetNamedIndicator(dpy, atom(indicator), nullptr, &on, nullptr, nullptr);
        return on;
    }

    unsigned lockedModifiers() const {
        XkbStateRec state;
        XkbGetState(dpy, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

    // The X keys down, as "38 50".
    QString keysDown() const {
        char keys[32];
        XQueryKeymap(dpy, keys);
        QStringList down;
        for (int key = 0; key < 256; ++key)
            if (keys[key / 8] & (1 << key % 8))
                down << QString::number(key);
        return down.join(' ');
    }

    // The X keys of each modifier row, row by row.
    QStringList modifierMap() const {
        QStringList rows(8);
        XModifierKeymap* map = XGetModifierMapping(dpy);
        for (int i = 0; i < 8 * map->max_keypermod; ++i)
            if (map->modifiermap[i] != 0)
                rows[i / map->max_keypermod] += QStringLiteral(" %1").arg(map->modifiermap[i]);
        XFreeModifiermap(map);
        return rows;
    }

    // All that a program could leave behind on the keyboard.
    QString state() const {
        unsigned indicators = 0;
        XkbGetIndicatorState(dpy, XkbUseCoreKbd, &indicators);
        return QStringLiteral("lit %1, locked %2, down [%3], modifiers%4")
            .arg(indicators)
            .arg(lockedModifiers())
            .arg(keysDown(), modifierMap().join(" |"));
    }

    // The windows in `in` (the top-level ones by default), mapped ones only unless told, the
    // newest last.
    QList<Window> windows(bool mapped = true, Window in = 0) const {
        QList<Window> found;
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        XQueryTree(dpy, in ? in : DefaultRootWindow(dpy), &root, &parent, &children, &count);
        for (XWindowAttributes a; Window window : std::span(children, count))
            if (!mapped || (XGetWindowAttributes(dpy, window, &a) && a.map_state == IsViewable))
                found.append(window);
        XFree(children);
        return found;
    }

    // What the window manager sends when the window's close box is clicked.
    void clickCloseBox(Window window) const {
        XClientMessageEvent m{ClientMessage, 0, False, dpy, window, atom("WM_PROTOCOLS"), 32, {}};
        m.data.l[0] = long(atom("WM_DELETE_WINDOW"));
        XSendEvent(dpy, window, False, NoEventMask, reinterpret_cast<XEvent*>(&m));
        XSync(dpy, False);
    }

    void tap(KeySym key) const {
        const KeyCode code = XKeysymToKeycode(dpy, key);
        XTestFakeKeyEvent(dpy, code, True, 0);
        XTestFakeKeyEvent(dpy, code, False, 0);
        XSync(dpy, False);
    }
};
