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

    void init() { called.clear(); }

    void toolTipSaysEachLock_data() {
        QTest::addColumn<LockStates>("locks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << LockStates{} << "Num Lock off, Caps Lock off, Scroll Lock off";
        QTest::newRow("Num") << LockStates{true, false, false}
                             << "Num Lock on, Caps Lock off, Scroll Lock off";
        QTest::newRow("all") << LockStates{true, true, true}
                             << "Num Lock on, Caps Lock on, Scroll Lock on";
    }

    void toolTipSaysEachLock() {
        QFETCH(LockStates, locks);
        QFETCH(QString, expected);
        AutostartEntry autostart;
        auto tray = makeTray(autostart);
        tray->setLockStates(locks);
        QCOMPARE(tray->icon().toolTip(), expected);
    }

    // The icon is drawn anew only when a lock state changes.
    void redrawsOnlyOnChange() {
        AutostartEntry autostart;
        auto tray = makeTray(autostart);
        tray->setLockStates({false, true, false});
        const qint64 drawn = tray->icon().icon().cacheKey();
        tray->setLockStates({false, true, false});
        QCOMPARE(tray->icon().icon().cacheKey(), drawn);
        tray->setLockStates({false, true, true});
        QVERIFY(tray->icon().icon().cacheKey() != drawn);
    }

    void menuItemsRunTheirCommands_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("show") << "Show Tintaro"
                              << "show";
        QTest::newRow("first effect") << "All"
                                      << "effect 0";
        QTest::newRow("last effect") << "Walk"
                                     << "effect 1";
        QTest::newRow("stop") << "Stop all"
                              << "stop";
        QTest::newRow("quit") << "Quit"
                              << "quit";
    }

    void menuItemsRunTheirCommands() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        AutostartEntry autostart;
        auto tray = makeTray(autostart);
        QAction* action = item(tray->menu(), text);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(called, QStringList{expected});
    }

    // Checked, the item writes $XDG_CONFIG_HOME/autostart/<id>.desktop running the tray;
    // unchecked, it removes it; a new tray shows what it finds.
    void startWithTheDesktop() {
        const QString path = config.path() + "/autostart/org.tintaro.Tintaro.desktop";
        AutostartEntry autostart;
        QCOMPARE(autostart.path(), path);
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
