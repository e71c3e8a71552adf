#include "intervaltimer.h"
#include "virtualclock.h"

#include <QTest>

namespace {
// Each tick as "name@time", so that order and timing are checked together.
void watch(VirtualClock& clock, IntervalTimer& timer, const QString& name, QStringList& ticks) {
    QObject::connect(&timer, &IntervalTimer::Timer, [&clock, &ticks, name] {
        ticks << QStringLiteral("%1@%2").arg(name).arg(clock.now());
    });
}
} // namespace

class IntervalTimerTest : public QObject {
    Q_OBJECT

private slots:
    // Only an enabled timer with an interval ticks. Enabling it again, or setting its interval,
    // even to the same value, restarts the countdown.
    void ticksWhileEnabledAndRestarts() {
        VirtualClock clock;
        IntervalTimer disabled(clock), zero(clock), timer(clock);
        QStringList ticks;
        watch(clock, disabled, "disabled", ticks);
        watch(clock, zero, "zero", ticks);
        watch(clock, timer, "t", ticks);
        disabled.setInterval(50);
        zero.setEnabled(true);
        timer.setInterval(50);
        timer.setEnabled(true);
        clock.advance(160);
        timer.setEnabled(true);
        clock.advance(40);
        timer.setInterval(50);
        clock.advance(50);
        timer.setEnabled(false);
        clock.advance(500);
        QCOMPARE(ticks, (QStringList{"t@50", "t@100", "t@150", "t@250"}));
    }

    // Timers due together tick in the order armed; a tick may retime itself and stop others.
    void ticksInOrderAndMayRetime() {
        VirtualClock clock;
        IntervalTimer self(clock), other(clock), late(clock);
        QStringList ticks;
        watch(clock, late, "late", ticks);
        watch(clock, self, "self", ticks);
        watch(clock, other, "other", ticks);
        int count = 0;
        QObject::connect(&self, &IntervalTimer::Timer, [&] {
            self.setInterval(++count * 100);
            if (count == 2)
                other.setEnabled(false);
        });
        for (IntervalTimer* t : {&self, &other, &late}) {
            t->setInterval(100);
            t->setEnabled(true);
        }
        clock.advance(700);
        QCOMPARE(ticks, (QStringList{"self@100", "other@100", "late@100", "self@200", "late@200",
                                     "late@300", "self@400", "late@400", "late@500", "late@600",
                                     "self@700", "late@700"}));
    }

    // A countdown destroyed before it is due, here by another's tick at that very moment, never
    // ticks.
    void destroyedCountdownNeverTicks() {
        VirtualClock clock;
        QStringList ticks;
        std::unique_ptr<Countdown> doomed;
        const auto other = clock.createCountdown([&] {
            ticks << "other";
            doomed.reset();
        });
        doomed = clock.createCountdown([&] { ticks << "doomed"; });
        other->start(10);
        doomed->start(10);
        clock.advance(30);
        QCOMPARE(ticks, (QStringList{"other", "other", "other"}));
    }
};

QTEST_APPLESS_MAIN(IntervalTimerTest)
#include "tst_intervaltimer.moc"
