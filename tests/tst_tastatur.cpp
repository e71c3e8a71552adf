#include "intervaltimer.h"
#include "lockkeylog.h"
#include "propertybag.h"
#include "recordinglauncher.h"
#include "roundedshape.h"
#include "simulatedkeyboard.h"
#include "speedslider.h"
#include "tastatur.h"
#include "taste.h"
#include "virtualclock.h"

#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
bool lampLit(const Taste* key) {
    return key->findChild<RoundedShape*>("x")->fillColor() == QColor(0, 255, 0);
}

QWidget* clickSurface(const Taste* key) {
    return key->findChild<QWidget*>("LAB1");
}
} // namespace

class TastaturTest : public QObject {
    Q_OBJECT

    SimulatedKeyboard keyboard;
    VirtualClock clock;
    RecordingLauncher launcher;
    std::unique_ptr<tastatur> window;

    const tastaturDesign& ui() const { return window->design(); }

private slots:
    void init() {
        for (LockKey key : AllLockKeys)
            keyboard.setToggled(info(key).keyCode, false);
        window = std::make_unique<tastatur>(keyboard, clock, launcher);
        keyboard.clearEvents();
    }

    void cleanup() { window.reset(); }

    void startsUpInItsDesignState() {
        window->move(40, 30);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->windowTitle(), QString("Tintaro   Version: 1.1.0"));
        // Shown where it was put, at its design size, with a minimise and a close box.
        QCOMPARE(window->pos(), QPoint(40, 30));
        QCOMPARE(window->centralWidget()->size(), QSize(466, 218));
        const Qt::WindowFlags frame = window->windowHandle()->flags();
        QVERIFY(frame.testFlags(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint));
        QVERIFY(!frame.testFlag(Qt::WindowMaximizeButtonHint));

        // The effect panel shown, the game and terms panels hidden; every control enabled but
        // "End Game" and the game keys.
        QString states;
        for (QWidget* panel : {ui().Modeeff, ui().Modegame, ui().Terms})
            states += panel->isVisible() ? 'V' : '-';
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui().StartEff, ui().Combo1, ui().NumSpeed, ui().CapsSpeed, ui().ScrollSpeed,
                 ui().EffectSpeed, ui().Start_Game, ui().Stopgame, ui().G1, ui().G2, ui().G3})
            states += control->isEnabled() ? '1' : '0';
        QCOMPARE(states, "V--11111110000");
        QStringList running;
        for (IntervalTimer* timer : window->findChildren<IntervalTimer*>())
            if (timer->isEnabled())
                running << timer->objectName();
        QCOMPARE(running, (QStringList{"Timer1", "resetime"}));

        const QStringList captions{"Num", "Caps", "Scroll"};
        for (const auto& keys : {ui().effectKeys(), ui().gameKeys()})
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(keys[i]->Caption(), captions[i]);
                QCOMPARE(keys[i]->size(), QSize(73, 68));
                QVERIFY(!keys[i]->findChild<QWidget*>("x")->isHidden());
                QCOMPARE(keys[i]->MousePointer(), Taste::CustomPointer);
            }
        QCOMPARE(ui().Combo1->currentText(), QString("All"));
        QCOMPARE(ui().EffectSpeed->value(), 150);
        for (SpeedSlider* slider : {ui().NumSpeed, ui().CapsSpeed, ui().ScrollSpeed})
            QCOMPARE(slider->value(), 1000);
        QCOMPARE(QApplication::focusWidget(), ui().StartEff);
        QCOMPARE(ui().Label5->text(),
                 "I accept no liability for damages arising from the direct or indirect use of "
                 "this program.\nThe user takes over full responsibility of this program.\nBy "
                 "using this program or modification, documentation or publishing of this "
                 "program, terms of use are accepted.");
        QCOMPARE(ui().Label6->text(), "Info:\nUse Tintaro to test your keyboard  LED's or "
                                      "something else...  :-)   No description is required, it "
                                      "is easy to handle.");
    }

    // Caps lit at start goes dark 100 ms later. Num toggles on the press of its key, with any
    // button; Caps and Scroll when a left click completes. Each lamp of the effect panel follows
    // its LED at the next poll, not before, a held key shows dark, and the game keys are left to
    // the game.
    // Each key comes up with what the window's design data stores for it: writing its
    // properties back over that data, whose names are in lower case, changes nothing.
    void keysComeUpWithTheirStoredProperties() {
        QFile file(":/tastatur.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject design = QJsonDocument::fromJson(file.readAll()).object();
        QMainWindow designed; // without Form_Load, which disables the game keys
        tastaturDesign keys;
        keys.setupUi(&designed, clock);
        for (const auto& row : {keys.effectKeys(), keys.gameKeys()})
            for (Taste* key : row) {
                PropertyBag stored(design[key->objectName()].toObject());
                key->UserControl_WriteProperties(stored);
                QCOMPARE(stored.entries(), design[key->objectName()].toObject());
            }
    }

    void lampsFollowTheLedsAndKeysToggleThem() {
        window.reset();
        keyboard.setToggled(20, true);
        window = std::make_unique<tastatur>(keyboard, clock, launcher);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        clock.advance(50);
        QVERIFY(!lampLit(ui().Taste1) && lampLit(ui().Taste2) && !lampLit(ui().Taste3));
        clock.advance(50);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{CAPSLOCK}"});
        clock.advance(50);
        keyboard.clearEvents();
        QTest::mousePress(clickSurface(ui().Taste1), Qt::RightButton, {}, {20, 20});
        QTest::mousePress(clickSurface(ui().Taste2), Qt::LeftButton, {}, {20, 20});
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{NUMLOCK}"});
        QTest::mouseRelease(clickSurface(ui().Taste1), Qt::RightButton, {}, {20, 20});
        QTest::mouseRelease(clickSurface(ui().Taste2), Qt::LeftButton, {}, {20, 20});
        QTest::mouseClick(clickSurface(ui().Taste3), Qt::LeftButton, {}, {20, 20});
        QCOMPARE(lockToggles(keyboard.events()),
                 (QStringList{"{NUMLOCK}", "{CAPSLOCK}", "{SCROLLOCK}"}));
        QVERIFY(!lampLit(ui().Taste1) && !lampLit(ui().Taste2) && !lampLit(ui().Taste3));
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste1) && lampLit(ui().Taste2) && lampLit(ui().Taste3));
        QVERIFY(!lampLit(ui().G3));
        keyboard.setHeld(145, true);
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste1) && lampLit(ui().Taste2) && !lampLit(ui().Taste3));
        keyboard.setHeld(145, false);
    }

    // By the menu or the close box, during an effect or not: what is lit at that moment goes
    // off, a held key stays as it is, and nothing of the window ticks afterwards.
    void closingTurnsLitLedsOff_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<QList<int>>("lit");
        QTest::addColumn<int>("held");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("menu, Num and Scroll lit")
            << true << QList<int>{144, 145} << 0 << QStringList{"{NUMLOCK}", "{SCROLLOCK}"};
        QTest::newRow("close box, Caps held") << false << QList<int>{20} << 20 << QStringList{};
        QTest::newRow("close box, all lit")
            << false << QList<int>{144, 20, 145} << 0
            << QStringList{"{NUMLOCK}", "{SCROLLOCK}", "{CAPSLOCK}"};
    }

    void closingTurnsLitLedsOff() {
        QFETCH(bool, byMenu);
        QFETCH(QList<int>, lit);
        QFETCH(int, held);
        QFETCH(QStringList, expected);
        ui().StartEff->click(); // an effect runs: its ticks must end with the window
        clock.advance(100);     // past the reset that starting it armed
        for (int key : lit)
            keyboard.setToggled(key, true);
        keyboard.setHeld(held, true);
        keyboard.clearEvents();
        byMenu ? ui().mClose->trigger() : void(window->close());
        QCOMPARE(lockToggles(keyboard.events()), expected);
        clock.advance(1000);
        QCOMPARE(lockToggles(keyboard.events()), expected);
        keyboard.setHeld(held, false);
    }
};

QTEST_MAIN(TastaturTest)
#include "tst_tastatur.moc"
