#include "platform/intervaltimer.h"
#include "platform/virtualclock.h"

#include <QTest>

// Interval timers on virtual time, each tick logged as "name@time", so that order and timing are
// checked together.
struct Timers {
    VirtualClock clock;
    QStringList ticks;
    std::vector<std::unique_ptr<IntervalTimer>> all;

    IntervalTimer& add(const QString& name, int interval, bool enabled) {
        IntervalTimer& timer = *all.emplace_back(std::make_unique<IntervalTimer>(clock));
        QObject::connect(&timer, &IntervalTimer::Timer,
                         [this, name] { ticks << name + '@' + QString::number(clock.now()); });
        timer.setInterval(interval);
        timer.setEnabled(enabled);
        return timer;
    }
};

class IntervalTimerTest : public QObject {
    Q_OBJECT

private slots:
    // Only an enabled timer with an interval ticks. Enabling it again, or setting its interval,
    // even to the same value, restarts the countdown.
    void ticksWhileEnabledAndRestarts() {
        Timers t;
        t.add("disabled", 50, false);
        t.add("zero", 0, true);
        IntervalTimer& timer = t.add("t", 50, true);
        t.clock.advance(160);
        timer.setEnabled(true);
        t.clock.advance(40);
        timer.setInterval(50);
        t.clock.advance(50);
        timer.setEnabled(false);
        t.clock.advance(500);
        QCOMPARE(t.ticks, (QStringList{"t@50", "t@100", "t@150", "t@250"}));
    }

    // Timers due together tick in the order armed; a tick may retime itself, and stop or destroy
    // others due at that very moment, which then never tick.
    void ticksInOrderAndMayRetime() {
        Timers t;
        IntervalTimer& self = t.add("self", 100, true);
        IntervalTimer& other = t.add("other", 100, true);
        t.add("late", 100, true);
        t.add("doomed", 100, true);
        int count = 0;
        QObject::connect(&self, &IntervalTimer::Timer, [&] {
            self.setInterval(++count * 100);
            if (count == 1)
                t.all.back().reset(); // doomed
            if (count == 2)
                other.setEnabled(false);
        });
        t.clock.advance(700);
        QCOMPARE(t.ticks, (QStringList{"self@100", "other@100", "late@100", "self@200", "late@200",
                                       "late@300", "self@400", "late@400", "late@500", "late@600",
                                       "self@700", "late@700"}));
    }
};

QTEST_APPLESS_MAIN(IntervalTimerTest)
#include "tst_intervaltimer.moc"
