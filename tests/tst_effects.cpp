#include "tests/effectwindow.h"

class EffectsTest : public QObject {
    Q_OBJECT

private slots:
    // Each effect, chosen by its name in the list, started at 200 ms over dark LEDs: its first
    // ticks (before a
    // '|' if they are not part of the cycle), then two full cycles, then a stop part-way into the
    // third; started again, it plays the same from its beginning.
    void patternsStopAndRestart_data() {
        QTest::addColumn<QString>("ticks");
        const QString run = "N/N C/NC S/NCS N/CS C/S S/-";
        QTest::newRow("All") << "NCS/NCS NCS/-";
        // Tick 7 turns back towards Num.
        QTest::newRow("Knight Rider") << run + " S/S C/CS N/NCS S/NC C/N N/-";
        QTest::newRow("Landing") << "NS/NS NS/- C/C C/- NSC/NCS NSC/-";
        QTest::newRow("Rock you") << "NS/NS NS/- NS/NS NS/- C/C C/-";
        QTest::newRow("Run") << run;
        // Passes of three ticks from 700 down to 100 ms, then eight passes at 100: 42 ticks, 10.5 s
        // in all.
        QStringList speedup;
        for (int tick = 0; tick < 42; ++tick)
            speedup << QString::number(std::max(700 - tick / 3 * 100, 100)) + ':' +
                           run.section(' ', tick % 6, tick % 6);
        QTest::newRow("Speedup") << speedup.join(' ');
        QTest::newRow("Traffic light") << "N/N N/- C/C C/- S/S S/-";
        QTest::newRow("Walk") << "NS/NS | NSC/C NSC/NS";
    }

    void patternsStopAndRestart() {
        QFETCH(QString, ticks);
        const QStringList cycle = ticks.section(" | ", -1).split(' ');
        const QString more = (cycle + cycle.mid(0, cycle.size() / 2 | 1)).join(' ');
        EffectWindow w;
        const int effect = w.ui.Combo1->findText(QTest::currentDataTag());
        for (int start = 0; start < 2; ++start) {
            w.startEffect(effect, 200);
            QCOMPARE(w.controls(), effect == 5 ? "000000" : "000001"); // Speedup locks its speed
            w.play(QString(ticks).replace(" | ", " ") + ' ' + more);
            QCOMPARE(w.stop(), "111111 1000 1000 1000 150 - -");
        }
    }

    // A new speed, as the row is named, 850 ms into Knight Rider: the LEDs go dark 100 ms later (at
    // 100 ms just before the tick), and the pattern goes on from tick 5 one new interval after the
    // change.
    void speedChangeRetimesAndKeepsTheStep_data() {
        QTest::addColumn<QString>("ticks");
        QTest::newRow("300") << "100:SC/- 200:C/C S/CS S/C";
        QTest::newRow("100") << "SCC/C S/CS S/C";
    }

    void speedChangeRetimesAndKeepsTheStep() {
        QFETCH(QString, ticks);
        const int speed = QString(QTest::currentDataTag()).toInt();
        EffectWindow w;
        w.startEffect(1, 200); // Knight Rider
        w.play("N/N C/NC S/NCS N/CS");
        w.clock.advance(50);
        w.ui.EffectSpeed->setValue(speed);
        w.play(ticks, speed);
    }
};

QTEST_MAIN(EffectsTest)
#include "tst_effects.moc"
