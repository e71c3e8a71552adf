#include "intervaltimer.h"
#include "lockkeylog.h"
#include "modmenu.h"
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
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->windowTitle(), QString("Tintaro   Version: 1.1.0"));
        QVERIFY(ui().Modeeff->isVisible());
        QVERIFY(!ui().Modegame->isVisible());
        QVERIFY(!ui().Terms->isVisible());
        QCOMPARE(window->centralWidget()->size(), QSize(466, 218));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

        QVERIFY(ui().Timer1->isEnabled());
        QCOMPARE(ui().Timer1->interval(), 50);
        QVERIFY(ui().resetime->isEnabled());
        for (IntervalTimer* timer : window->findChildren<IntervalTimer*>())
            if (timer != ui().Timer1 && timer != ui().resetime)
                QVERIFY2(!timer->isEnabled(), qPrintable(timer->objectName()));

        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui().StartEff, ui().Combo1, ui().NumSpeed, ui().CapsSpeed, ui().ScrollSpeed,
                 ui().EffectSpeed, ui().Start_Game})
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(!ui().Stopgame->isEnabled());
        for (Taste* key : ui().gameKeys())
            QVERIFY(!key->isEnabled());

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
        QVERIFY(ui().Label5->text().startsWith("I accept no liability"));
        QVERIFY(ui().Label6->text().startsWith("Info:\nUse Tintaro to test your keyboard  LED's"));
    }

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

    void minimiseBoxKeepsSizeAndPlace() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->move(40, 30);
        const QRect place = window->geometry();
        window->setWindowFlag(Qt::WindowMinimizeButtonHint, false);
        window->show();
        modMenu::AddMinimizeBox(window.get());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), place);
    }

    // Caps lit at start goes dark 100 ms later; each lamp follows its LED at the next poll, a
    // held key shows dark, and the game keys are left to the game.
    void lampsFollowTheLeds() {
        window.reset();
        keyboard.setToggled(20, true);
        window = std::make_unique<tastatur>(keyboard, clock, launcher);
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste2));
        clock.advance(50);
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{CAPSLOCK}"});
        keyboard.setToggled(145, true);
        QVERIFY(!lampLit(ui().Taste3));
        clock.advance(50);
        QVERIFY(!lampLit(ui().Taste1) && !lampLit(ui().Taste2) && lampLit(ui().Taste3));
        keyboard.setHeld(145, true);
        clock.advance(50);
        QVERIFY(!lampLit(ui().Taste3) && !lampLit(ui().G3));
        keyboard.setHeld(145, false);
    }

    void onScreenKeysToggleTheirLockKeys() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        clock.advance(200);
        keyboard.clearEvents();

        // Num toggles on the press, with any button; the release adds nothing.
        QTest::mousePress(clickSurface(ui().Taste1), Qt::RightButton, {}, {20, 20});
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{NUMLOCK}"});
        QTest::mouseRelease(clickSurface(ui().Taste1), Qt::RightButton, {}, {20, 20});
        QCOMPARE(lockToggles(keyboard.events()), QStringList{"{NUMLOCK}"});

        // Caps and Scroll toggle when a left click completes.
        keyboard.clearEvents();
        QTest::mousePress(clickSurface(ui().Taste2), Qt::LeftButton, {}, {20, 20});
        QVERIFY(keyboard.events().empty());
        QTest::mouseRelease(clickSurface(ui().Taste2), Qt::LeftButton, {}, {20, 20});
        QTest::mouseClick(clickSurface(ui().Taste3), Qt::LeftButton, {}, {20, 20});
        QCOMPARE(lockToggles(keyboard.events()), (QStringList{"{CAPSLOCK}", "{SCROLLOCK}"}));

        // The lamps catch up at the next poll, not before.
        QVERIFY(!lampLit(ui().Taste1));
        clock.advance(50);
        QVERIFY(lampLit(ui().Taste1) && lampLit(ui().Taste2) && lampLit(ui().Taste3));
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
