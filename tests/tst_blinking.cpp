#include "tests/effectwindow.h"

// Per-key blinking and its lock on the effect controls, driven through the window.
class BlinkingTest : public QObject {
    Q_OBJECT

private slots:
    // Focus alone, by a click on the thumb or by Tab, locks the effect controls and starts no
    // blinking; nor has a new EffectSpeed, with nothing running, started an effect. "Stop all
    // (RESET)" puts EffectSpeed back, turns Scroll off and unlocks. The window becoming active
    // again is no new focus.
    void focusAloneLocksTheEffectControls() {
        EffectWindow w;
        w.keyboard.setToggled(info(LockKey::Scroll).keyCode, true);
        w.ui.EffectSpeed->setValue(700);
        QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                          partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarSlider));
        QCOMPARE(w.controls(), "001110");
        QCOMPARE(w.after(10000), "-/S");
        QCOMPARE(w.stop(), "111111 1000 1000 1000 150 - -");
        w.ui.EffectSpeed->setFocus();
        QTest::keyClick(w.ui.EffectSpeed, Qt::Key_Tab);
        QCOMPARE(w.controls(), "001110");
        w.ui.Stop->click(); // unlocks, leaving the focus where it is
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QCOMPARE(w.controls(), "111111");
    }

    // Each key toggles on its own countdown, restarted by a new value of its own slider only;
    // then "Stop all (RESET)" while all three blink.
    void keysBlinkOnTheirOwnPhase() {
        EffectWindow w;
        w.ui.NumSpeed->setValue(500);
        QCOMPARE(w.controls(), "001110");
        w.clock.advance(200);
        w.ui.ScrollSpeed->setValue(500);
        w.play("300:N/N 200:S/NS 300:N/S 200:S/-");
        w.ui.NumSpeed->setValue(500); // the same value: Num keeps its countdown
        w.ui.ScrollSpeed->setValue(700);
        w.play("300:N/N 400:S/NS 100:N/S");
        w.ui.CapsSpeed->setValue(5000); // Caps too, its first toggle still far off
        QCOMPARE(w.stop(), "111111 1000 1000 1000 150 - -");
    }
};

QTEST_MAIN(BlinkingTest)
#include "tst_blinking.moc"
