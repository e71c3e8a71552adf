// Scripts drive the window as its own controls would, and its own stop ends what they started.

#include "mainwindow/windowleds.h"
#include "tests/effectwindow.h"
#include "tests/scriptchecks.h"

class WindowLedsTest : public QObject {
    Q_OBJECT

private slots:
    // An effect is selected, its speed set and started: the panel locks as after a click on
    // "Start Effect", and the effect ticks at that speed; a stop is "Stop all (RESET)". (Walk, at
    // the list's other end, is tst_scripts_x11's.)
    void effectAsFromTheControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<QString>("ticks"); // as EffectWindow::play checks them
        QTest::newRow("All at the fastest end") << "ALL" << 100u << "100:CNCS/NCS 100:NCS/-";
        QTest::newRow("All at the slowest end") << "all" << 5000u << "100:C/- 4899:-/- 1:NCS/NCS";
    }

    void effectAsFromTheControls() {
        QFETCH(QString, name);
        QFETCH(uint, speed);
        QFETCH(QString, ticks);
        EffectWindow w;
        WindowLeds leds(w.window, w.keyboard, w.clock, {});
        w.keyboard.setToggled(LockKeyCode::Caps, true); // put out by the start's reset
        leds.startEffect(checked(checkEffect(name, speed)));
        QCOMPARE(w.ui.Combo1->currentText(), "All");
        QCOMPARE(w.ui.EffectSpeed->value(), int(speed));
        QCOMPARE(w.controls(), "000001");
        QCOMPARE(leds.running(), "effect All");
        w.play(ticks);
        leds.stop();
        QCOMPARE(leds.running(), "");
        QCOMPARE(w.controls(), "111111");
        QCOMPARE(w.ui.EffectSpeed->value(), 150);
    }

    // A pattern over a running effect waits for the stop's reset, then shows from dark and ends
    // with the locks as it found them; "Stop all (RESET)" ends a pattern as well.
    void patternAfterTheStopsReset() {
        EffectWindow w;
        WindowLeds leds(w.window, w.keyboard, w.clock, {});
        leds.startEffect(checked(checkEffect("all", 100)));
        w.play("100:NCS/NCS 100:NCS/-");
        leds.playLights(checked(checkPlay("n:50 c:50")), "pattern");
        QCOMPARE(leds.running(), "pattern");
        QCOMPARE(w.controls(), "111111");
        w.play("100:N/N 50:NC/C 50:C/-");
        QCOMPARE(leds.running(), "");

        leds.playLights(checked(checkBlink("scroll", 100, 0)), "blink");
        QCOMPARE(w.sent(), "S");
        w.play("100:S/- 100:S/S");
        QTest::mouseClick(w.ui.Stop, Qt::LeftButton);
        QCOMPARE(leds.running(), "");
        w.play("1000:S!-/-"); // put back as found at once, and nothing after
    }

    // Blinking by hand counts as running; set toggles only what differs.
    void blinkingByHandAndSet() {
        EffectWindow w;
        WindowLeds leds(w.window, w.keyboard, w.clock, {});
        w.ui.CapsSpeed->setValue(500);
        QCOMPARE(leds.running(), "blink");
        leds.setLockStates(checked(checkSetLocks("num=on,scroll=off")));
        QCOMPARE(w.sent(), "N");
        QCOMPARE(leds.lockStates(), (LockStates{true, false, false}));
    }
};

QTEST_MAIN(WindowLedsTest)
#include "tst_windowleds.moc"
