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

    // Reset at 0 and again at 60 ms, the keys lit in between: 100 ms after the last call, once,
    // every key lit then is turned off, but for a held one, which counts as off.
    void turnsOffLitKeysOnce100msAfterTheLastCall_data() {
        QTest::addColumn<QList<int>>("lit");
        QTest::addColumn<int>("held");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << QList<int>{} << 0 << QStringList{};
        QTest::newRow("Num and Caps")
            << QList<int>{144, 20} << 0 << QStringList{"{NUMLOCK}", "{CAPSLOCK}"};
        QTest::newRow("all") << QList<int>{20, 144, 145} << 0
                             << QStringList{"{NUMLOCK}", "{SCROLLOCK}", "{CAPSLOCK}"};
        QTest::newRow("Caps held") << QList<int>{20, 144} << 20 << QStringList{"{NUMLOCK}"};
    }

    void turnsOffLitKeysOnce100msAfterTheLastCall() {
        QFETCH(QList<int>, lit);
        QFETCH(int, held);
        QFETCH(QStringList, expected);
        reset.Reset();
        clock.advance(60);
        for (int key : lit)
            keyboard.setToggled(key, true);
        keyboard.setHeld(held, true);
        reset.Reset();
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        QCOMPARE(lockToggles(keyboard.events()), expected);
        for (LockKey key : AllLockKeys)
            QCOMPARE(keyboard.isToggled(info(key).keyCode), info(key).keyCode == held);
        // One shot: a key lit afterwards stays lit.
        keyboard.setToggled(145, true);
        clock.advance(1000);
        QCOMPARE(lockToggles(keyboard.events()), expected);
        keyboard.setHeld(held, false);
    }
};

QTEST_APPLESS_MAIN(LockResetTest)
#include "tst_lockreset.moc"
