// Light sequences and effects run without a window, watched on a simulated keyboard in virtual
// time: what the LEDs show when, and how each lock key is left.

#include "lockkeys/modsync.h"
#include "platform/virtualclock.h"
#include "scripts/lightplayer.h"
#include "scripts/windowlessleds.h"
#include "tests/recordingkeyboard.h"
#include "tests/scriptchecks.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Each change of the LEDs as "ms:lit", counted from now, advancing the clock a millisecond at a
// time; a change made just now counts at 0.
QString watch(RecordingKeyboard& keyboard, VirtualClock& clock, const LockStates& before, int ms) {
    QStringList changes;
    LockStates shown = before;
    for (const qint64 start = clock.now();; clock.advance(1)) {
        if (const LockStates now = readLocks(keyboard); now != shown) {
            changes << QStringLiteral("%1:%2").arg(clock.now() - start).arg(lockLetters(now));
            shown = now;
        }
        if (clock.now() == start + ms)
            return changes.join(' ');
    }
}

void light(RecordingKeyboard& keyboard, const QString& keys) {
    constexpr int Codes[] = {LockKeyCode::Num, LockKeyCode::Caps, LockKeyCode::Scroll};
    for (QChar key : keys)
        keyboard.setToggled(Codes[QStringLiteral("ncs").indexOf(key)], true);
}

} // namespace

class WindowlessLedsTest : public QObject {
    Q_OBJECT

    RecordingKeyboard keyboard;
    VirtualClock clock;

private slots:
    void init() { keyboard = RecordingKeyboard(); }

    // The first step shows at once, each next one when the last has run its time; the driven
    // keys end as found, the others are never touched.
    void playerShowsStepsAndLeavesKeysAsFound_data() {
        QTest::addColumn<QString>("found");
        QTest::addColumn<LightSequence>("sequence");
        QTest::addColumn<QString>("changes");
        QTest::newRow("pattern from lit")
            << "cs" << checked(checkPlay("n:100 ncs:100 c:10")) << "0:n 100:ncs 200:c 210:cs";
        QTest::newRow("morse leaves the others")
            << "n" << checked(checkMorse("et", "", 0)) << "0:ns 120:n 480:ns 840:n";
        QTest::newRow("blink twice from lit")
            << "c" << checked(checkBlink("num,caps", 0, 2)) << "0:nc 1000:- 2000:nc 3000:- 4000:c";
    }

    void playerShowsStepsAndLeavesKeysAsFound() {
        QFETCH(QString, found);
        QFETCH(LightSequence, sequence);
        QFETCH(QString, changes);
        light(keyboard, found);
        LightPlayer player(keyboard, clock);
        QSignalSpy finished(&player, &LightPlayer::finished);
        const LockStates before = readLocks(keyboard);
        player.play(sequence);
        QCOMPARE(watch(keyboard, clock, before, 6000), changes);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!player.isPlaying());
    }

    // Blinking without a count goes on until stopped, then leaves the keys as found; the user's
    // own strokes in between are undone by the next step and do not count as found.
    void stopEndsEndlessBlinkAsFound() {
        light(keyboard, "s");
        LightPlayer player(keyboard, clock);
        QSignalSpy finished(&player, &LightPlayer::finished);
        player.play(checked(checkBlink("scroll,num", 100, 0)));
        clock.advance(150);
        modSync::Toggle(keyboard, LockKey::Caps);
        modSync::Toggle(keyboard, LockKey::Num);
        QCOMPARE(watch(keyboard, clock, readLocks(keyboard), 100000).count(' '), 999);
        player.stop();
        QCOMPARE(lockLetters(readLocks(keyboard)), "cs");
        QCOMPARE(finished.size(), 0);
        QCOMPARE(watch(keyboard, clock, readLocks(keyboard), 1000), QString());
    }

    // An effect starts on dark LEDs, runs at its speed until stopped and leaves the keys as
    // found; a pattern started over it ends it first.
    void effectRunsUntilStoppedAndLeavesKeysAsFound_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("changes");
        QTest::newRow("all, default speed") << "all" << 0u << "effect All"
                                            << "0:- 150:ncs";
        QTest::newRow("walk, slowest") << "WALK" << 5000u << "effect Walk"
                                       << "0:- 5000:ns";
        QTest::newRow("speedup ignores speed") << "speedup" << 100u << "effect Speedup"
                                               << "0:- 700:n";
    }

    void effectRunsUntilStoppedAndLeavesKeysAsFound() {
        QFETCH(QString, name);
        QFETCH(uint, speed);
        QFETCH(QString, running);
        QFETCH(QString, changes);
        light(keyboard, "nc");
        WindowlessLeds leds(keyboard, clock);
        QSignalSpy finished(&leds, &WindowlessLeds::finished);
        const LockStates before = readLocks(keyboard);
        leds.startEffect(checked(checkEffect(name, speed)));
        QCOMPARE(leds.running(), running);
        QCOMPARE(watch(keyboard, clock, before, 5000).section(' ', 0, 1), changes);
        leds.playLights(checked(checkPlay("s:10")), "pattern");
        QCOMPARE(leds.running(), "pattern");
        QCOMPARE(lockLetters(leds.lockStates()), "s");
        clock.advance(10);
        QCOMPARE(lockLetters(leds.lockStates()), "nc");
        QCOMPARE(leds.running(), "");
        QCOMPARE(finished.size(), 1);
        QCOMPARE(watch(keyboard, clock, readLocks(keyboard), 6000), QString());
    }

    // Set leaves the keys so, toggling only those that differ; going, the runner leaves them.
    void setStaysAndGoingLeavesKeysAsFound() {
        light(keyboard, "c");
        {
            WindowlessLeds leds(keyboard, clock);
            leds.setLockStates(checked(checkSetLocks("num=on,caps=on")));
            QCOMPARE(keyboard.events().size(), std::size_t(2));
            QCOMPARE(lockLetters(leds.lockStates()), "nc");
            leds.startEffect(checked(checkEffect("run", 100)));
            clock.advance(1050);
        }
        QCOMPARE(lockLetters(readLocks(keyboard)), "nc");
        QCOMPARE(watch(keyboard, clock, readLocks(keyboard), 1000), QString());
    }
};

QTEST_APPLESS_MAIN(WindowlessLedsTest)
#include "tst_windowlessleds.moc"
