#pragma once

#include "app/desktopoptions.h"

#include <QObject>

#include <memory>

class Clock;
class DesktopNotifications;
class LightPlayer;
class LockAnnouncer;
class NotificationMonitor;
class ReportingKeyboard;
class TrayIcon;
class AutostartEntry;
class WindowLeds;
class tastatur;

// Puts together what the desktop options ask for around the window: the tray icon, the lock
// announcements and the blinking on notifications. Without any of the options it adds nothing.
// With the tray, the window's close box hides the window and "Quit" ends the program as the close
// box otherwise does; every other way to close still ends it.
class DesktopSignals : public QObject {
    Q_OBJECT

public:
    // `leds` drives the window for the tray's effects.
    DesktopSignals(const DesktopOptions& options, tastatur& window, WindowLeds& leds,
                   ReportingKeyboard& keyboard, Clock& clock);
    ~DesktopSignals() override;

    // Shows the window, or with the tray only the tray icon.
    void show();
    // Ends the blinking on notifications until the next one.
    void stopFollowing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeTray();
    void setFollowing(bool on);
    void showWindow();
    void startEffect(int effect);
    void stopAll();
    void quit();

    DesktopOptions m_options;
    tastatur& m_window;
    WindowLeds& m_leds;
    std::unique_ptr<DesktopNotifications> m_notifications;
    std::unique_ptr<LockAnnouncer> m_announcer;
    std::unique_ptr<LightPlayer> m_blinker;
    std::unique_ptr<NotificationFollower> m_follower;
    std::unique_ptr<NotificationMonitor> m_monitor;
    std::unique_ptr<AutostartEntry> m_autostart;
    std::unique_ptr<TrayIcon> m_tray;
    bool m_quitting = false;
};
