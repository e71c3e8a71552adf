#include "app/desktopsignals.h"

#include "desktop/lockannouncer.h"
#include "desktop/trayicon.h"
#include "keycontrol/speedslider.h"
#include "lockkeys/reportingkeyboard.h"
#include "mainwindow/lockdisplay.h"
#include "mainwindow/tastatur.h"
#include "mainwindow/windowleds.h"
#include "platform/autostartentry.h"
#include "platform/desktopnotifications.h"
#include "scripts/lightplayer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>

#include <cstdio>

DesktopSignals::DesktopSignals(const DesktopOptions& options, tastatur& window, WindowLeds& leds,
                               ReportingKeyboard& keyboard, Clock& clock)
    : m_options(options), m_window(window), m_leds(leds) {
    // Nothing of the session bus is touched unless an option asks for it.
    if (!options.tray && !options.announceLocks && !options.followNotifications)
        return;
    m_notifications = std::make_unique<DesktopNotifications>();
    m_announcer = std::make_unique<LockAnnouncer>(*m_notifications, clock);
    m_announcer->setEnabled(options.announceLocks);
    keyboard.onLockPress(
        [announcer = m_announcer.get()](LockKey key) { announcer->ownPress(key); });
    connect(&window.lockDisplay(), &LockDisplay::lockStatesChanged, m_announcer.get(),
            &LockAnnouncer::lockStatesChanged);

    m_blinker = std::make_unique<LightPlayer>(keyboard, clock);
    m_follower = std::make_unique<NotificationFollower>(options.rule, *m_blinker, keyboard);
    m_monitor = std::make_unique<NotificationMonitor>();
    m_follower->listenTo(*m_monitor);
    connect(m_monitor.get(), &NotificationMonitor::lost, this, [this] {
        std::fprintf(stderr, "tintaro: the session bus went away: notifications not followed\n");
        setFollowing(false);
    });

    if (options.tray) {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            makeTray();
        else
            std::fprintf(stderr, "tintaro: the desktop has no system tray: the window is shown\n");
    }
    window.installEventFilter(this);
    setFollowing(options.followNotifications);
}

DesktopSignals::~DesktopSignals() = default;

void DesktopSignals::makeTray() {
    const QComboBox& effects = *m_window.design().Combo1;
    QStringList names;
    for (int i = 0; i < effects.count(); ++i)
        names << effects.itemText(i);
    m_autostart = std::make_unique<AutostartEntry>();
    m_tray = std::make_unique<TrayIcon>(names,
                                        TrayCommands{[this] { showWindow(); },
                                                     [this](int effect) { startEffect(effect); },
                                                     [this] { stopAll(); }, [this] { quit(); }},
                                        *m_autostart);
    connect(&m_window.lockDisplay(), &LockDisplay::lockStatesChanged, m_tray.get(),
            &TrayIcon::setLockStates);
    m_tray->announceItem().setChecked(m_options.announceLocks);
    connect(&m_tray->announceItem(), &QAction::toggled, m_announcer.get(),
            &LockAnnouncer::setEnabled);
    connect(&m_tray->followItem(), &QAction::toggled, this, &DesktopSignals::setFollowing);
}

void DesktopSignals::show() {
    if (!m_tray) {
        m_window.show();
        return;
    }
    m_tray->icon().show();
    // The native window is made all the same, for what watches it.
    m_window.winId();
}

void DesktopSignals::setFollowing(bool on) {
    QString error;
    if (on && !m_monitor->start(&error)) {
        std::fprintf(stderr, "tintaro: notifications cannot be followed: %s\n", qPrintable(error));
        on = false;
    }
    if (!on) {
        m_monitor->stop();
        m_follower->stop();
    }
    if (m_tray) {
        const QSignalBlocker quiet(m_tray->followItem());
        m_tray->followItem().setChecked(on);
    }
}

bool DesktopSignals::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_window || event->type() != QEvent::Close)
        return false;
    // The window manager's close box, with the tray: the window only goes out of sight.
    if (m_tray && event->spontaneous() && !m_quitting) {
        m_window.hide();
        event->ignore();
        return true;
    }
    // Before the window darkens the LEDs, so that the blinking LED is as found when it does.
    m_follower->stop();
    if (m_tray)
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return false;
}

void DesktopSignals::showWindow() {
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

// In effect mode, which ends a game, at the speed the window's slider shows.
void DesktopSignals::startEffect(int effect) {
    const tastaturDesign& ui = m_window.design();
    ui.mEffect->trigger();
    m_leds.startEffect({static_cast<Effect>(effect), ui.EffectSpeed->value()});
}

void DesktopSignals::stopFollowing() {
    if (m_follower)
        m_follower->stop();
}

void DesktopSignals::stopAll() {
    stopFollowing();
    m_window.design().Stop->click();
}

void DesktopSignals::quit() {
    m_quitting = true;
    m_window.close();
}
