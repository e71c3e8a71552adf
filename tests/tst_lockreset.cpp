#include "intervaltimer.h"
#include "lockkeylog.h"
#include "lockreset.h"
#include "simulatedkeyboard.h"
#include "virtualclock.h"

#include <QTest>

class LockResetTest : public QObject {
    Q_OBJECT

    SimulatedKeyboard keyboard;
    VirtualClock clock;
    IntervalTimer resetime{clock};
    LockReset reset{keyboard, resetime};

private slots:
    void init() {
        for (LockKey key : AllLockKeys)
            keyboard.setToggled(info(key).keyCode, false);
        keyboard.clearEvents();
    }

    void turnsOffLitKeysOnce100msLater_data() {
        QTest::addColumn<QList<int>>("lit");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << QList<int>{} << QStringList{};
        QTest::newRow("Num and Caps")
            << QList<int>{144, 20} << QStringList{"{NUMLOCK}", "{CAPSLOCK}"};
        QTest::newRow("all") << QList<int>{20, 144, 145}
                             << QStringList{"{NUMLOCK}", "{SCROLLOCK}", "{CAPSLOCK}"};
    }

    void turnsOffLitKeysOnce100msLater() {
        QFETCH(QList<int>, lit);
        QFETCH(QStringList, expected);
        for (int key : lit)
            keyboard.setToggled(key, true);
        reset.Reset();
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        QCOMPARE(lockToggles(keyboard.events()), expected);
        for (LockKey key : AllLockKeys)
            QVERIFY(!keyboard.isToggled(info(key).keyCode));
        // One shot: a key lit afterwards stays lit.
        keyboard.setToggled(145, true);
        clock.advance(1000);
        QCOMPARE(lockToggles(keyboard.events()), expected);
    }

    // A second call restarts the countdown; the tick looks at the keys as they are then.
    void tickComes100msAfterTheLastCall() {
        keyboard.setToggled(20, true);
        keyboard.setHeld(20, true); // held: counts as off, left alone
        reset.Reset();
        clock.advance(60);
        reset.Reset();
        keyboard.setToggled(144, true);
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{NUMLOCK}"});
        QVERIFY(keyboard.isToggled(20));
        keyboard.setHeld(20, false);
    }
};

QTEST_APPLESS_MAIN(LockResetTest)
#include "tst_lockreset.moc"
