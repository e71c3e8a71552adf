#include "desktop/trayicon.h"

#include "desktop/lockstatetext.h"
#include "mainwindow/windowicon.h"
#include "platform/autostartentry.h"

#include <QStringList>

TrayIcon::TrayIcon(const QStringList& effectNames, TrayCommands commands,
                   const AutostartEntry& autostart, QObject* parent)
    : QObject(parent) {
    m_menu.addAction("Show Tintaro", this, commands.showWindow);
    QMenu* effects = m_menu.addMenu("Effects");
    for (int i = 0; i < effectNames.size(); ++i)
        effects->addAction(effectNames[i], this, [start = commands.startEffect, i] { start(i); });
    m_menu.addAction("Stop all", this, commands.stopAll);
    m_menu.addSeparator();
    QAction* startWithDesktop = m_menu.addAction("Start with the desktop");
    startWithDesktop->setCheckable(true);
    startWithDesktop->setChecked(autostart.exists());
    // What the file system ends with is what the item shows.
    connect(startWithDesktop, &QAction::toggled, this, [&autostart, startWithDesktop](bool on) {
        if (on)
            autostart.write();
        else
            autostart.remove();
        startWithDesktop->setChecked(autostart.exists());
    });
    m_announce = m_menu.addAction("Announce lock changes");
    m_announce->setCheckable(true);
    m_follow = m_menu.addAction("Blink on notifications");
    m_follow->setCheckable(true);
    m_menu.addSeparator();
    m_menu.addAction("Quit", this, commands.quit);

    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [show = commands.showWindow](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    show();
            });
    setLockStates({});
}

QString TrayIcon::toolTip(const LockStates& locks) {
    QStringList parts;
    for (std::size_t i = 0; i < locks.size(); ++i)
        parts << lockStateText(AllLockKeys[i], locks[i]);
    return parts.join(", ");
}

void TrayIcon::setLockStates(const LockStates& locks) {
    if (std::exchange(m_shown, locks) == locks)
        return;
    m_icon.setIcon(lockStateIcon(locks));
    m_icon.setToolTip(toolTip(locks));
}
