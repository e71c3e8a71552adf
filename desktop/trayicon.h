#pragma once

#include "lockkeys/lockkey.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>

class AutostartEntry;

// What the tray's menu asks of the rest of the program.
struct TrayCommands {
    std::function<void()> showWindow;
    std::function<void(int effect)> startEffect; // an index into the effect names
    std::function<void()> stopAll;
    std::function<void()> quit;
};

// The tray icon: three lamps showing the lock states, a tooltip that says them, and a menu to
// show the window, start an effect, stop everything, start with the desktop, turn the lock
// announcements and the notification blinking on and off, and quit.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(const QStringList& effectNames, TrayCommands commands, const AutostartEntry& autostart,
             QObject* parent = nullptr);

    // "Num Lock on, Caps Lock off, Scroll Lock off"
    static QString toolTip(const LockStates& locks);

    // Redraws the icon and its tooltip when `locks` differ from what they show.
    void setLockStates(const LockStates& locks);

    QSystemTrayIcon& icon() { return m_icon; }
    QMenu& menu() { return m_menu; }
    QAction& announceItem() { return *m_announce; }
    QAction& followItem() { return *m_follow; }

private:
    QMenu m_menu;
    QSystemTrayIcon m_icon;
    QAction* m_announce = nullptr;
    QAction* m_follow = nullptr;
    std::optional<LockStates> m_shown;
};
