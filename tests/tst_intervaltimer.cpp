#include "intervaltimer.h"
#include "virtualclock.h"

#include <QTest>

#include <string>
#include <vector>

// Records each tick as "name@time" so that order and timing are checked together.
class TickLog {
public:
    explicit TickLog(VirtualClock& clock) : m_clock(clock) {}
    void watch(IntervalTimer& timer, std::string name) {
        QObject::connect(&timer, &IntervalTimer::Timer, [this, name] {
            ticks.push_back(name + "@" + std::to_string(m_clock.now()));
        });
    }
    std::vector<std::string> ticks;

private:
    VirtualClock& m_clock;
};

using Ticks = std::vector<std::string>;

class IntervalTimerTest : public QObject {
    Q_OBJECT

private slots:
    void disabledOrZeroIntervalNeverTicks() {
        VirtualClock clock;
        IntervalTimer disabled(clock), zero(clock);
        TickLog log(clock);
        log.watch(disabled, "disabled");
        log.watch(zero, "zero");
        disabled.setInterval(50);
        zero.setEnabled(true);
        clock.advance(1000);
        QVERIFY(log.ticks.empty());
    }

    void ticksEveryIntervalWhileEnabled() {
        VirtualClock clock;
        IntervalTimer timer(clock);
        TickLog log(clock);
        log.watch(timer, "t");
        timer.setInterval(50);
        timer.setEnabled(true);
        clock.advance(160);
        QCOMPARE(log.ticks, (Ticks{"t@50", "t@100", "t@150"}));

        timer.setEnabled(false);
        clock.advance(500);
        QCOMPARE(log.ticks.size(), std::size_t(3));
    }

    void enablingOrSettingIntervalRestartsCountdown() {
        VirtualClock clock;
        IntervalTimer timer(clock);
        TickLog log(clock);
        log.watch(timer, "t");
        timer.setInterval(100);
        timer.setEnabled(true);
        clock.advance(60);
        timer.setEnabled(true); // already enabled: still restarts
        clock.advance(60);
        QVERIFY(log.ticks.empty());
        timer.setInterval(100);
        clock.advance(99);
        QVERIFY(log.ticks.empty());
        clock.advance(1);
        QCOMPARE(log.ticks, (Ticks{"t@220"}));
    }

    void timersDueTogetherTickInOrderArmed() {
        VirtualClock clock;
        IntervalTimer first(clock), second(clock);
        TickLog log(clock);
        log.watch(second, "second");
        log.watch(first, "first");
        first.setInterval(100);
        second.setInterval(100);
        first.setEnabled(true);
        second.setEnabled(true);
        clock.advance(100);
        QCOMPARE(log.ticks, (Ticks{"first@100", "second@100"}));
    }

    void tickMayRetimeOrStopTimers() {
        VirtualClock clock;
        IntervalTimer self(clock), other(clock);
        TickLog log(clock);
        log.watch(self, "self");
        log.watch(other, "other");
        int ticks = 0;
        connect(&self, &IntervalTimer::Timer, [&] {
            self.setInterval(++ticks * 100);
            other.setEnabled(false);
        });
        self.setInterval(100);
        self.setEnabled(true);
        other.setInterval(250);
        other.setEnabled(true);
        clock.advance(700);
        // Each tick sets the next gap: 100, 200, 300; `other` is stopped before it is due.
        QCOMPARE(log.ticks, (Ticks{"self@100", "self@200", "self@400", "self@700"}));
    }

    void timerMayOutliveOrPredeceaseClock() {
        VirtualClock clock;
        {
            IntervalTimer shortLived(clock);
            shortLived.setInterval(10);
            shortLived.setEnabled(true);
        }
        clock.advance(100); // must not touch the destroyed timer
        QCOMPARE(clock.now(), std::int64_t(100));
    }
};

QTEST_APPLESS_MAIN(IntervalTimerTest)
#include "tst_intervaltimer.moc"
