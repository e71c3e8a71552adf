#include "keycontrol/speedslider.h"
#include "mainwindow/tastatur.h"
#include "platform/virtualclock.h"
#include "tests/keylook.h"
#include "tests/lockkeylog.h"
#include "tests/recordingkeyboard.h"
#include "tests/recordinglauncher.h"

class TastaturTest : public QObject {
    Q_OBJECT

    RecordingKeyboard keyboard;
    VirtualClock clock;
    RecordingLauncher launcher;
    std::unique_ptr<tastatur> window;

    const tastaturDesign& ui() const { return window->design(); }

private slots:
    // Each test starts with Caps lit, as the user may have left it, Num and Scroll dark, none
    // held, and a new window, not yet shown.
    void init() {
        window.reset();
        keyboard = RecordingKeyboard();
        keyboard.setToggled(LockKeyCode::Caps, true);
        window = std::make_unique<tastatur>(keyboard, clock, launcher);
    }

    void startsUpInItsDesignState() {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->windowTitle(), QString("Tintaro   Version: 1.1.0"));
        // At its design size, with a minimise and a close box.
        QCOMPARE(window->centralWidget()->size(), QSize(466, 218));
        const Qt::WindowFlags frame = window->windowHandle()->flags();
        QVERIFY(frame.testFlags(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint));
        QVERIFY(!frame.testFlag(Qt::WindowMaximizeButtonHint));

        // Panels shown (1) or hidden (-), every control enabled (1) but "End Game" and the game
        // keys; the slider values, the effect chosen, the focus, and each key's caption and lamp.
        QString states;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 ui().Modeeff, ui().Modegame, ui().Terms, ui().StartEff, ui().Combo1, ui().NumSpeed,
                 ui().CapsSpeed, ui().ScrollSpeed, ui().EffectSpeed, ui().Start_Game, ui().Stopgame,
                 ui().G1, ui().G2, ui().G3})
            states += w->isHidden() ? '-' : w->isEnabled() ? '1' : '0';
        for (SpeedSlider* slider : window->findChildren<SpeedSlider*>())
            states += ' ' + QString::number(slider->value());
        states += ' ' + ui().Combo1->currentText() + ' ' + qApp->focusWidget()->objectName();
        for (const auto& row : {ui().effectKeys(), ui().gameKeys()})
            for (Taste* key : row)
                states += ' ' + key->Caption() + (keyPart(key, "x")->isHidden() ? "" : " lamp");
        QCOMPARE(states, "1--11111110000 1000 1000 1000 150 All StartEff"
                         " Num lamp Caps lamp Scroll lamp Num lamp Caps lamp Scroll lamp");
    }

    // Caps lit at start goes dark 100 ms later. Num toggles on the press of its key, with any
    // button; Caps and Scroll when a left click completes. Each lamp of the effect panel follows
    // its LED at the next poll, a held key shows dark, and the game keys are left to the game.
    void lampsFollowTheLedsAndKeysToggleThem() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        clock.advance(50);
        QVERIFY(!lampLit(ui().Taste1) && lampLit(ui().Taste2) && !lampLit(ui().Taste3));
        clock.advance(50);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{CAPSLOCK}"});
        mouseOnKey(ui().Taste1, QTest::MousePress, Qt::RightButton);
        mouseOnKey(ui().Taste2, QTest::MousePress);
        QCOMPARE(lockToggles(keyboard.events()), (QStringList{"{CAPSLOCK}", "{NUMLOCK}"}));
        mouseOnKey(ui().Taste1, QTest::MouseRelease, Qt::RightButton);
        mouseOnKey(ui().Taste2, QTest::MouseRelease);
        mouseOnKey(ui().Taste3, QTest::MouseClick);
        QCOMPARE(lockToggles(keyboard.events()),
                 (QStringList{"{CAPSLOCK}", "{NUMLOCK}", "{CAPSLOCK}", "{SCROLLOCK}"}));
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste1) && lampLit(ui().Taste2) && lampLit(ui().Taste3) &&
                !lampLit(ui().G3));
        keyboard.setHeld(145, true);
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste1) && lampLit(ui().Taste2) && !lampLit(ui().Taste3));
    }

    // A lock that the keyboard cannot show on this desktop: its key is greyed with a tooltip
    // and named by the notice under the sliders, until the keyboard can show it again.
    void locksThatCannotBeShownAreNamed_data() {
        QTest::addColumn<QList<int>>("unshown");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Scroll Lock")
            << QList<int>{145} << "Scroll Lock cannot be shown on this desktop.";
        QTest::newRow("all three")
            << QList<int>{144, 20, 145}
            << "Num Lock, Caps Lock and Scroll Lock cannot be shown on this desktop.";
    }
    void locksThatCannotBeShownAreNamed() {
        QFETCH(QList<int>, unshown);
        QFETCH(QString, notice);
        window->show();
        for (int key : unshown)
            keyboard.setShowable(key, false);
        clock.advance(50);
        QVERIFY(ui().LockNotice->isVisible());
        QCOMPARE(ui().LockNotice->text(), notice);
        const std::array keys{ui().Taste1, ui().Taste2, ui().Taste3};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const bool shown = !unshown.contains(info(AllLockKeys[i]).keyCode);
            QCOMPARE(keys[i]->isEnabled(), shown);
            QCOMPARE(keys[i]->toolTip().contains("cannot be shown"), !shown);
        }
        keyboard.clearEvents();
        mouseOnKey(ui().Taste3, QTest::MouseClick); // Scroll, greyed in each row
        QVERIFY(keyboard.events().empty());
        for (int key : unshown)
            keyboard.setShowable(key, true);
        clock.advance(50);
        QVERIFY(!ui().LockNotice->isVisible() && ui().Taste3->isEnabled() &&
                ui().Taste3->toolTip().isEmpty());
    }

    // Closing during an effect puts out what is lit but a held key, and nothing ticks after, nor
    // sends a second close. (tst_tintaro_x11 takes every way out on the real program.)
    void closingTurnsLitLedsOff() {
        ui().StartEff->click();
        clock.advance(100); // past the reset that starting it armed
        for (int key : {144, 20, 145})
            keyboard.setToggled(key, true);
        keyboard.setHeld(20, true);
        keyboard.clearEvents();
        ui().mClose->trigger();
        keyboard.setHeld(20, false);
        clock.advance(1000);
        window->close();
        QCOMPARE(lockToggles(keyboard.events()), (QStringList{"{NUMLOCK}", "{SCROLLOCK}"}));
    }
};

QTEST_MAIN(TastaturTest)
#include "tst_tastatur.moc"
