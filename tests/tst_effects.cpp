#include "effectwindow.h"
#include "sliderparts.h"

#include <QTest>

namespace {

struct Tick {
    QStringList sent;
    QString lit;
};
// The ticks of an effect from its start: `intro` once, then `cycle` over and over.
struct Pattern {
    QList<Tick> intro;
    QList<Tick> cycle;
};

enum { All, KnightRider, Landing, RockYou, Run, Speedup, TrafficLight, Walk };

Pattern pattern(int effect) {
    const QString all = "Num Caps Scroll";
    switch (effect) {
    case All:
        return {{}, {{{N, C, S}, all}, {{N, C, S}, "none"}}};
    case KnightRider:
        return {{},
                {{{N}, "Num"},
                 {{C}, "Num Caps"},
                 {{S}, all},
                 {{N}, "Caps Scroll"},
                 {{C}, "Scroll"},
                 {{S}, "none"},
                 {{S}, "Scroll"},
                 {{C}, "Caps Scroll"},
                 {{N}, all},
                 {{S}, "Num Caps"},
                 {{C}, "Num"},
                 {{N}, "none"}}};
    case Landing:
        return {{},
                {{{N, S}, "Num Scroll"},
                 {{N, S}, "none"},
                 {{C}, "Caps"},
                 {{C}, "none"},
                 {{N, S, C}, all},
                 {{N, S, C}, "none"}}};
    case RockYou:
        return {{},
                {{{N, S}, "Num Scroll"},
                 {{N, S}, "none"},
                 {{N, S}, "Num Scroll"},
                 {{N, S}, "none"},
                 {{C}, "Caps"},
                 {{C}, "none"}}};
    case Run:
        return {{},
                {{{N}, "Num"},
                 {{C}, "Num Caps"},
                 {{S}, all},
                 {{N}, "Caps Scroll"},
                 {{C}, "Scroll"},
                 {{S}, "none"}}};
    case TrafficLight:
        return {{},
                {{{N}, "Num"},
                 {{N}, "none"},
                 {{C}, "Caps"},
                 {{C}, "none"},
                 {{S}, "Scroll"},
                 {{S}, "none"}}};
    case Walk:
        return {{{{N, S}, "Num Scroll"}}, {{{N, S, C}, "Caps"}, {{N, S, C}, "Num Scroll"}}};
    }
    return {};
}

QString describe(int tick, const QStringList& sent, const QString& lit) {
    return QString("tick %1: %2 -> %3").arg(tick).arg(sent.join(' '), lit);
}

// Checks `cycles` cycles of the pattern (after its intro), one tick every `interval`.
void checkPattern(EffectWindow& w, int effect, int interval, int cycles) {
    const Pattern p = pattern(effect);
    QList<Tick> ticks = p.intro;
    for (int i = 0; i < cycles; ++i)
        ticks += p.cycle;
    for (int i = 0; i < ticks.size(); ++i) {
        const QStringList sent = w.sentAfter(interval);
        QCOMPARE(describe(i + 1, sent, w.lit()), describe(i + 1, ticks[i].sent, ticks[i].lit));
    }
}

// Speedup's passes of three ticks: the interval before each tick of the pass.
constexpr int SpeedupPasses[14] = {700, 600, 500, 400, 300, 200, 100,
                                   100, 100, 100, 100, 100, 100, 100};

} // namespace

class EffectsTest : public QObject {
    Q_OBJECT

private slots:
    void patternsFollowTheirTables_data() {
        QTest::addColumn<int>("effect");
        for (int effect : {All, KnightRider, Landing, RockYou, Run, TrafficLight, Walk})
            QTest::newRow(qPrintable(EffectWindow().ui.Combo1->itemText(effect))) << effect;
    }

    void patternsFollowTheirTables() {
        QFETCH(int, effect);
        EffectWindow w;
        w.startEffect(effect, 200);
        checkPattern(w, effect, 200, 3);
    }

    void speedupRunsItsOwnSchedule() {
        EffectWindow w;
        w.startEffect(Speedup, 2000);
        QCOMPARE(w.controls(), QString("000000"));
        for (int cycle = 0; cycle < 2; ++cycle) {
            const std::int64_t begin = w.clock.now();
            for (int pass = 0; pass < 14; ++pass) {
                for (const QString& key : {N, C, S})
                    QCOMPARE(w.sentAfter(SpeedupPasses[pass]), QStringList{key});
                QCOMPARE(w.lit(), pass % 2 == 0 ? QString("Num Caps Scroll") : QString("none"));
            }
            QCOMPARE(w.clock.now() - begin, 10500);
        }
    }

    void speedChangeRetimesAndKeepsTheStep() {
        EffectWindow w;
        w.startEffect(KnightRider, 200);
        w.clock.advance(4 * 200 + 50);
        QCOMPARE(w.lit(), QString("Caps Scroll"));
        w.keyboard.clearEvents();

        w.ui.EffectSpeed->setValue(300);
        QCOMPARE(w.sentAfter(100), (QStringList{S, C})); // the reset
        QCOMPARE(w.sentAfter(200), QStringList{C});      // tick 5, over dark LEDs
        QCOMPARE(w.lit(), QString("Caps"));
        QCOMPARE(w.sentAfter(300), QStringList{S});
        QCOMPARE(w.sentAfter(300), QStringList{S}); // tick 7 starts the backward half
        QCOMPARE(w.lit(), QString("Caps"));
    }

    void resetComesBeforeTheFirstTickAt100ms() {
        EffectWindow w;
        w.light(LockKey::Num);
        w.light(LockKey::Caps);
        w.startEffect(All, 100);
        QCOMPARE(w.sentAfter(100), (QStringList{N, C, N, C, S}));
        QCOMPARE(w.lit(), QString("Num Caps Scroll"));
    }

    void speedWhileIdleWaitsForTheStart() {
        EffectWindow w;
        w.ui.EffectSpeed->setValue(700);
        w.clock.advance(5000);
        QCOMPARE(lockToggles(w.keyboard.events()), QStringList());
        QCOMPARE(w.controls(), QString("111111"));
        w.ui.StartEff->click();
        QCOMPARE(w.sentAfter(700), (QStringList{N, C, S}));
    }

    void ticksFollowTheThumbDuringADrag() {
        EffectWindow w;
        QVERIFY(w.show());
        w.startEffect(All, 1000);
        SpeedSlider& slider = *w.ui.EffectSpeed;
        const QPoint thumb = partOf(slider, QStyle::SC_ScrollBarSlider).center();
        const QPoint rightEnd(partOf(slider, QStyle::SC_ScrollBarAddLine).left() - 1, thumb.y());
        QTest::mousePress(&slider, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(&slider, rightEnd);
        QCOMPARE(slider.value(), 100);

        // Still held: the running countdown is kept, and each tick takes up the new value.
        QCOMPARE(w.sentAfter(1000), (QStringList{N, C, S}));
        QCOMPARE(w.sentAfter(100), (QStringList{N, C, S}));
        QCOMPARE(w.sentAfter(100), (QStringList{N, C, S}));
        QCOMPARE(w.lit(), QString("Num Caps Scroll"));

        w.clock.advance(50);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, rightEnd);
        QCOMPARE(w.sentAfter(100), (QStringList{N, S, C, N, C, S}));
    }

    void stopReturnsToRest_data() {
        QTest::addColumn<int>("running"); // an effect, or -1 for blinking, -2 for nothing
        QTest::newRow("idle") << -2;
        QTest::newRow("blinking") << -1;
        for (int effect = All; effect <= Walk; ++effect)
            QTest::newRow(qPrintable(EffectWindow().ui.Combo1->itemText(effect))) << effect;
    }

    void stopReturnsToRest() {
        QFETCH(int, running);
        EffectWindow w;
        QVERIFY(w.show());
        if (running == -2) {
            w.ui.EffectSpeed->setValue(700);
            w.light(LockKey::Scroll);
        } else if (running == -1) {
            w.ui.NumSpeed->setValue(300);
            w.ui.CapsSpeed->setValue(700);
            w.ui.ScrollSpeed->setValue(1500);
        } else {
            w.startEffect(running, 400);
        }
        w.clock.advance(2900);
        w.keyboard.clearEvents();

        QTest::mouseClick(w.ui.Stop, Qt::LeftButton);
        for (SpeedSlider* slider : {w.ui.NumSpeed, w.ui.CapsSpeed, w.ui.ScrollSpeed})
            QCOMPARE(slider->value(), 1000);
        QCOMPARE(w.ui.EffectSpeed->value(), 150);
        QCOMPARE(w.controls(), QString("111111"));
        QVERIFY(!w.sentAfter(100).contains("early"));
        QCOMPARE(w.lit(), QString("none"));
        w.clock.advance(20000);
        QCOMPARE(lockToggles(w.keyboard.events()), QStringList());

        // The effect's counters are back at 0: a new start plays the pattern from its start.
        if (running == Speedup) {
            w.startEffect(Speedup, 150);
            for (auto [interval, key] : {std::pair{700, N}, {700, C}, {700, S}, {600, N}})
                QCOMPARE(w.sentAfter(interval), QStringList{key});
        } else if (running >= 0) {
            w.startEffect(running, 200);
            checkPattern(w, running, 200, 1);
        }
    }
};

QTEST_MAIN(EffectsTest)
#include "tst_effects.moc"
