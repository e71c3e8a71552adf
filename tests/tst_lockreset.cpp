#include "lockkeys/lockreset.h"
#include "platform/intervaltimer.h"
#include "platform/virtualclock.h"
#include "tests/lockkeylog.h"
#include "tests/recordingkeyboard.h"

#include <QTest>

class LockResetTest : public QObject {
    Q_OBJECT

private slots:
    // Reset at 0 and again at 60 ms, the keys lit in between: 100 ms after the last call, once,
    // every key lit then is turned off, in the order Num, Scroll, Caps, but for a held one, which
    // counts as off.
    void turnsOffLitKeysOnce100msAfterTheLastCall_data() {
        QTest::addColumn<QList<int>>("lit");
        QTest::addColumn<int>("held");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all") << QList<int>{20, 144, 145} << 0 << "{NUMLOCK} {SCROLLOCK} {CAPSLOCK}";
        QTest::newRow("Num and Caps, Caps held") << QList<int>{20, 144} << 20 << "{NUMLOCK}";
    }

    void turnsOffLitKeysOnce100msAfterTheLastCall() {
        QFETCH(QList<int>, lit);
        QFETCH(int, held);
        QFETCH(QString, expected);
        RecordingKeyboard keyboard;
        VirtualClock clock;
        IntervalTimer resetime(clock);
        LockReset reset(keyboard, resetime);
        reset.Reset();
        clock.advance(60);
        for (int key : lit)
            keyboard.setToggled(key, true);
        keyboard.setHeld(held, true);
        reset.Reset();
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        // One shot: a key lit afterwards stays lit.
        keyboard.setToggled(145, true);
        clock.advance(1000);
        QCOMPARE(lockToggles(keyboard.events()).join(' '), expected);
    }
};

QTEST_APPLESS_MAIN(LockResetTest)
#include "tst_lockreset.moc"
