#include "intervaltimer.h"
#include "lockkeylog.h"
#include "lockreset.h"
#include "modsync.h"
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

    void turnsOffLitKeysAfter100ms() {
        keyboard.setToggled(144, true);
        keyboard.setToggled(20, true);
        reset.Reset();
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        QCOMPARE(lockToggles(keyboard.events()), (QStringList{"{NUMLOCK}", "{CAPSLOCK}"}));
        QVERIFY(!keyboard.isToggled(144) && !keyboard.isToggled(20));

        // One shot: nothing more afterwards, even when a key is lit again.
        keyboard.setToggled(145, true);
        keyboard.clearEvents();
        clock.advance(1000);
        QVERIFY(keyboard.events().empty());
    }

    void turnsOffInNumScrollCapsOrder() {
        for (LockKey key : AllLockKeys)
            keyboard.setToggled(info(key).keyCode, true);
        reset.Reset();
        clock.advance(100);
        QCOMPARE(lockToggles(keyboard.events()),
                 (QStringList{"{NUMLOCK}", "{SCROLLOCK}", "{CAPSLOCK}"}));
    }

    void allDarkSendsNothing() {
        reset.Reset();
        clock.advance(100);
        QVERIFY(keyboard.events().empty());
        QVERIFY(!resetime.isEnabled());
    }

    void secondResetRestartsTheCountdown() {
        keyboard.setToggled(145, true);
        reset.Reset();
        clock.advance(60);
        reset.Reset();
        clock.advance(99);
        QVERIFY(keyboard.events().empty());
        clock.advance(1);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{SCROLLOCK}"});
        clock.advance(500);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{SCROLLOCK}"});
    }

    void heldOrLateLitKeys() {
        // A key held down counts as off and is left alone; one lit before the tick is caught.
        keyboard.setToggled(20, true);
        keyboard.setHeld(20, true);
        reset.Reset();
        clock.advance(50);
        keyboard.setToggled(144, true);
        clock.advance(50);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{NUMLOCK}"});
        QVERIFY(keyboard.isToggled(20));
        keyboard.setHeld(20, false);
    }
};

QTEST_APPLESS_MAIN(LockResetTest)
#include "tst_lockreset.moc"
