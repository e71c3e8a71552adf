#include "effectwindow.h"
#include "sliderparts.h"

#include <QTest>

// Per-key blinking and the mode lock between it and the effects, driven through the window.
class BlinkingTest : public QObject {
    Q_OBJECT

private slots:
    void focusAloneLocksTheEffectControls_data() {
        QTest::addColumn<bool>("byTab");
        QTest::newRow("click on the thumb") << false;
        QTest::newRow("tab from EffectSpeed") << true;
    }

    void focusAloneLocksTheEffectControls() {
        QFETCH(bool, byTab);
        EffectWindow w;
        QVERIFY(w.show());
        if (byTab) {
            w.ui.EffectSpeed->setFocus();
            QTest::keyClick(w.ui.EffectSpeed, Qt::Key_Tab);
        } else {
            QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                              partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarSlider).center());
        }
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QCOMPARE(w.controls(), QString("001110"));
        QCOMPARE(w.ui.NumSpeed->value(), 1000);
        w.clock.advance(10000);
        QCOMPARE(lockToggles(w.keyboard.events()), QStringList());
    }

    void troughClickBlinksItsKeyOnly() {
        EffectWindow w;
        QVERIFY(w.show());
        w.light(LockKey::Num);
        QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                          partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarAddPage).center());
        QCOMPARE(w.ui.NumSpeed->value(), 1001);
        QCOMPARE(w.controls(), QString("001110"));

        // Blinking only toggles: the lit LED goes dark first.
        QCOMPARE(w.sentAfter(1001), QStringList{N});
        QCOMPARE(w.lit(), QString("none"));
        QCOMPARE(w.sentAfter(1001), QStringList{N});
        QCOMPARE(w.lit(), QString("Num"));

        // "Start Effect" is locked while a key blinks.
        QTest::mouseClick(w.ui.StartEff, Qt::LeftButton);
        QCOMPARE(w.sentAfter(1001), QStringList{N});
    }

    void dragBlinksFromTheReleaseOn() {
        EffectWindow w;
        QVERIFY(w.show());
        dragThumb(*w.ui.CapsSpeed, {8, 0}, [&] {
            w.clock.advance(500);
            QCOMPARE(lockToggles(w.keyboard.events()), QStringList());
        });
        QCOMPARE(w.ui.CapsSpeed->value(), 100);
        for (int tick = 0; tick < 4; ++tick)
            QCOMPARE(w.sentAfter(100), QStringList{C});
    }

    void keysBlinkOnTheirOwnPhase() {
        EffectWindow w;
        w.ui.NumSpeed->setValue(500);
        w.clock.advance(200);
        w.ui.ScrollSpeed->setValue(500);
        for (int blink = 0; blink < 3; ++blink) {
            QCOMPARE(w.sentAfter(300), QStringList{N});
            QCOMPARE(w.sentAfter(200), QStringList{S});
        }
        w.ui.NumSpeed->setValue(700); // restarts Num's countdown only
        QCOMPARE(w.sentAfter(500), QStringList{S});
        QCOMPARE(w.sentAfter(200), QStringList{N});
    }

    void runningEffectLocksThePerKeySliders_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("controls");
        QTest::newRow("All") << 0 << "000001";
        QTest::newRow("Speedup") << 5 << "000000";
    }

    void runningEffectLocksThePerKeySliders() {
        QFETCH(int, effect);
        QFETCH(QString, controls);
        EffectWindow w;
        QVERIFY(w.show());
        w.startEffect(effect, 300);
        QCOMPARE(w.controls(), controls);
        QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                          partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarAddPage).center());
        QTest::keyClick(w.ui.NumSpeed, Qt::Key_Down);
        QCOMPARE(w.ui.NumSpeed->value(), 1000);
        QVERIFY(!w.ui.NumSpeed->hasFocus());
        QCOMPARE(w.controls(), controls);
    }
};

QTEST_MAIN(BlinkingTest)
#include "tst_blinking.moc"
