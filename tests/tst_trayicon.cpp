#include "desktop/trayicon.h"
#include "platform/autostartentry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TrayIconTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;
    QStringList called;

    std::unique_ptr<TrayIcon> makeTray(const AutostartEntry& autostart) {
        return std::make_unique<TrayIcon>(
            QStringList{"All", "Walk"},
            TrayCommands{[this] { called << "show"; },
                         [this](int effect) { called << QString("effect %1").arg(effect); },
                         [this] { called << "stop"; }, [this] { called << "quit"; }},
            autostart);
    }

    // The menu's items by their texts, submenus entered.
    static QAction* item(QMenu& menu, const QString& text) {
        for (QAction* action : menu.findChildren<QAction*>())
            if (action->text() == text)
                return action;
        return nullptr;
    }

private slots:
    void initTestCase() {
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }

    // The tooltip says each lock, and the icon changes with them; each menu item runs its command,
    // the effects by their places in the list.
    void showsTheLocksAndRunsItsMenu() {
        AutostartEntry autostart;
        auto tray = makeTray(autostart);
        tray->setLockStates({true, false, false});
        const qint64 drawn = tray->icon().icon().cacheKey();
        tray->setLockStates({false, false, true});
        QCOMPARE(tray->icon().toolTip(), "Num Lock off, Caps Lock off, Scroll Lock on");
        QVERIFY(tray->icon().icon().cacheKey() != drawn);
        for (const char* text : {"Show Tintaro", "All", "Walk", "Stop all", "Quit"})
            item(tray->menu(), text)->trigger();
        QCOMPARE(called, (QStringList{"show", "effect 0", "effect 1", "stop", "quit"}));
    }

    // Checked, the item writes $XDG_CONFIG_HOME/autostart/<id>.desktop running the tray;
    // unchecked, it removes it; a new tray shows what it finds.
    void startWithTheDesktop() {
        const QString path = config.path() + "/autostart/org.tintaro.Tintaro.desktop";
        AutostartEntry autostart;
        auto tray = makeTray(autostart);
        QAction* start = item(tray->menu(), "Start with the desktop");
        QVERIFY(!start->isChecked());
        start->trigger();
        QFile entry(path);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nExec=tintaro --tray\n"));
        QVERIFY(item(makeTray(autostart)->menu(), "Start with the desktop")->isChecked());
        start->trigger();
        QVERIFY(!QFile::exists(path));
        QVERIFY(!start->isChecked());
    }
};

QTEST_MAIN(TrayIconTest)
#include "tst_trayicon.moc"
