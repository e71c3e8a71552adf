#include "platform/qtclock.h"

#include <QElapsedTimer>
#include <QTest>

// The program's clock on real time. Only lower bounds are checked: a countdown may tick late on
// a busy machine, never early.
class QtClockTest : public QObject {
    Q_OBJECT

private slots:
    // A countdown that has ticked, and is started again later from outside its tick (a reset
    // armed anew, an effect's speed changed), counts the whole interval from then: not from its
    // last tick, which would make it tick at once or early. Its first tick stops it, as a
    // one-shot timer does, or it goes on ticking. Exact and loose countdowns alike.
    void startedAgainCountsFromThen_data() {
        QTest::addColumn<Timing>("timing");
        QTest::addColumn<bool>("stoppedByItsTick");
        QTest::newRow("exact, stopped by its tick") << Timing::Exact << true;
        QTest::newRow("exact, ticking") << Timing::Exact << false;
        QTest::newRow("loose, ticking") << Timing::Loose << false; // once stopped, a plain QTimer
    }

    void startedAgainCountsFromThen() {
        QFETCH(Timing, timing);
        QFETCH(bool, stoppedByItsTick);
        constexpr int Interval = 300;
        QtClock clock;
        QElapsedTimer sinceStart;
        QList<qint64> ticks; // ms after the latest start
        std::unique_ptr<Countdown> countdown;
        countdown = clock.createCountdown(
            [&] {
                ticks << sinceStart.elapsed();
                if (stoppedByItsTick)
                    countdown->cancel();
            },
            timing);
        sinceStart.start();
        countdown->restart(Interval);
        QTRY_VERIFY(!ticks.isEmpty());
        QTest::qWait(Interval / 3);
        ticks.clear();
        sinceStart.start();
        countdown->restart(Interval);
        QTRY_VERIFY(!ticks.isEmpty());
        QCOMPARE_GE(ticks.first(), Interval);
    }
};

QTEST_GUILESS_MAIN(QtClockTest)
#include "tst_qtclock.moc"
