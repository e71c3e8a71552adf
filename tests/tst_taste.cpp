#include "buttonmessage.h"
#include "propertybag.h"
#include "roundedshape.h"
#include "taste.h"

#include <QJsonArray>
#include <QLabel>
#include <QTest>

#include <memory>

namespace {

QWidget* part(Taste& key, const char* name) {
    return key.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}
QColor lampColor(Taste& key) {
    return static_cast<RoundedShape*>(part(key, "x"))->fillColor();
}
bool drawnPressed(Taste& key) {
    return part(key, "c")->isVisibleTo(&key);
}

// Every part's rectangle, and "hidden" for the parts not shown: the picture the user sees.
QStringList look(Taste& key) {
    QStringList parts;
    for (const char* name : {"a", "b", "c", "d", "e", "x", "TEXTLAB", "LAB1"}) {
        const QWidget* w = part(key, name);
        const QRect r = w->geometry();
        parts << QString::asprintf("%s %dx%d@%d,%d%s", name, r.width(), r.height(), r.x(), r.y(),
                                   w->isVisibleTo(&key) ? "" : " hidden");
    }
    return parts;
}

const QStringList Released{"a 61x56@6,0",        "b 73x64@0,2",       "c 61x56@6,2 hidden",
                           "d 70x61@1,4 hidden", "e 73x62@0,2",       "x 29x10@32,41",
                           "TEXTLAB 73x68@11,6", "LAB1 1095x1020@0,0"};
const QStringList Pressed{
    "a 61x56@6,0 hidden", "b 73x64@0,2 hidden", "c 61x56@6,2",        "d 70x61@1,4",
    "e 73x62@0,2",        "x 29x10@32,44",      "TEXTLAB 73x68@11,8", "LAB1 1295x1220@-100,-100"};

} // namespace

class TasteTest : public QObject {
    Q_OBJECT

    // Each test gets a shown key of the main window's size, 73 x 68, in a window, and the log of
    // its pointer events, each with whether the key was drawn pressed when it was raised.
    std::unique_ptr<QWidget> window;
    Taste* key = nullptr;
    QStringList events;

    // Pointer input as Qt delivers it: to the click surface, in its coordinates, also off the key.
    void mouse(QTest::MouseAction action, Qt::MouseButton button, QPoint onKey,
               Qt::KeyboardModifiers modifiers = {}) {
        QWidget* surface = part(*key, "LAB1");
        QTest::mouseEvent(action, surface, button, modifiers, surface->mapFrom(key, onKey));
    }

private slots:
    void init() {
        window = std::make_unique<QWidget>();
        key = new Taste(window.get());
        key->setGeometry(100, 100, 73, 68);
        window->show();
        events.clear();
        auto state = [this] { return drawnPressed(*key) ? " pressed" : " released"; };
        connect(key, &Taste::Click, this, [=, this] { events << "Click" + QString(state()); });
        connect(key, &Taste::MouseDown, this, [=, this](int button, int shift, float x, float y) {
            events << QString::asprintf("MouseDown %d %d %g,%g%s", button, shift, x, y, state());
        });
    }

    void layoutIsFixedOnceShownOrPressed() {
        for (bool pressFirst : {false, true}) {
            Taste* fresh = new Taste(window.get());
            fresh->resize(73, 68);
            if (pressFirst)
                fresh->Down();
            fresh->show();
            fresh->resize(120, 90);
            QCOMPARE(look(*fresh).mid(0, 7), (pressFirst ? Pressed : Released).mid(0, 7));
        }
    }

    // The lamp keeps its colour through Down and Up, which in turn leave the colour alone.
    void downUpAndLedOnChangeOnlyTheirParts() {
        key->LedOn(true);
        QCOMPARE(look(*key), Released);
        QCOMPARE(lampColor(*key), QColor(0, 255, 0));
        key->Down();
        key->Down();
        QCOMPARE(look(*key), Pressed);
        QCOMPARE(lampColor(*key), QColor(0, 255, 0));
        key->LedOn(false);
        QCOMPARE(look(*key), Pressed);
        QCOMPARE(lampColor(*key), QColor(0, 128, 0));

        key->Up();
        QStringList releasedStillEnlarged = Released;
        releasedStillEnlarged[4] = "e 73x62@0,2 hidden";
        releasedStillEnlarged[7] = Pressed[7];
        QCOMPARE(look(*key), releasedStillEnlarged);
        key->hide();
        key->show();
        QCOMPARE(look(*key)[7], Released[7]);
    }

    // Pressed at (20,30) on the key, released at `release`.
    void pointerPressAndRelease_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QStringList>("expected");
        const QStringList click{"MouseDown 1 0 20,30 pressed", "Click released"};
        const auto left = Qt::LeftButton;
        const Qt::KeyboardModifiers none;
        QTest::newRow("shift left")
            << left << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(20, 30)
            << QStringList{"MouseDown 1 1 20,30 pressed", click[1]};
        QTest::newRow("right") << Qt::RightButton << none << QPoint(20, 30)
                               << QStringList{"MouseDown 2 0 20,30 pressed"};
        QTest::newRow("ctrl alt middle")
            << Qt::MiddleButton << (Qt::ControlModifier | Qt::AltModifier) << QPoint(20, 30)
            << QStringList{"MouseDown 4 6 20,30 pressed"};
        QTest::newRow("100 left") << left << none << QPoint(-100, 30) << click;
        QTest::newRow("99 above") << left << none << QPoint(30, -99) << click;
        QTest::newRow("101 left") << left << none << QPoint(-101, 30) << click.mid(0, 1);
        QTest::newRow("150 above") << left << none << QPoint(30, -150) << click.mid(0, 1);
    }
    void pointerPressAndRelease() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPoint, release);
        QFETCH(QStringList, expected);
        mouse(QTest::MousePress, button, {20, 30}, modifiers);
        QCOMPARE(events, expected.mid(0, 1));
        mouse(QTest::MouseRelease, button, release, modifiers);
        QCOMPARE(events, expected);
        QVERIFY(!drawnPressed(*key));
    }

    // A double click on the lamp, the topmost part, ends in a release left of the key while Qt
    // keeps the pointer grab: two clicks.
    void doubleClickThroughTheWindow() {
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, QPoint(140, 145));
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, QPoint(60, 130));
        const QStringList click{"MouseDown 1 0 40,45 pressed", "Click released"};
        QCOMPARE(events, click + click);
    }

    // A disabled key looks the same as an enabled one and ignores the pointer. Button messages
    // press and release a key, also a disabled one, and never click.
    void disabledKeyAndButtonMessages() {
        const QImage enabledLook = key->grab().toImage();
        key->setForeColor(0x0000FF);
        key->setEnabled(false);
        QCOMPARE(key->grab().toImage(), enabledLook);
        mouse(QTest::MousePress, Qt::LeftButton, {20, 30});
        QCOMPARE(look(*key), Released);
        mouse(QTest::MouseRelease, Qt::LeftButton, {20, 30});
        QVERIFY(events.isEmpty());
        for (bool enabled : {false, true}) {
            key->setEnabled(enabled);
            SendButtonMessage(key->hWnd(), ButtonMessage::LeftButtonDown);
            QVERIFY(drawnPressed(*key));
            SendButtonMessage(key->hWnd(), ButtonMessage::LeftButtonUp);
            QVERIFY(!drawnPressed(*key));
        }
        QCOMPARE(events.last(), "MouseDown 1 0 0,0 pressed");
        QVERIFY(events.filter("Click").isEmpty());
    }

    // A new key (a null `stored`) or one loaded from `stored`: what it shows, and what it writes.
    void loadsAndWritesBack_data() {
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<bool>("lampShown");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QJsonObject>("written");
        const QJsonObject font{{"name", "Courier"}, {"size", 12.75},     {"weight", 700},
                               {"italic", true},    {"underline", true}, {"strikeout", true}};
        const QJsonObject picture{
            {"hotspot", QJsonArray{2, 1}},
            {"png",
             "iVBORw0KGgoAAAANSUhEUgAAAAMAAAACCAYAAACddGYaAAAACXBIWXMAAA7EAAAOxAGVKw4bAAAAGklE"
             "QVQImS3BMQEAAAwCIFz/zvoMUuodhMAALywCBBGfU8YAAAAASUVORK5CYII="}};
        const QJsonObject everyEntry{
            {"ForeColor", 255},  {"Enabled", false},     {"Font", font},      {"LED_Visible", true},
            {"Caption", "Caps"}, {"MouseIcon", picture}, {"MousePointer", 99}};
        QTest::newRow("new key") << QJsonValue() << true << true << "Text"
                                 << QJsonObject{{"Enabled", true}};
        QTest::newRow("every entry")
            << QJsonValue(everyEntry) << true << false << "Caps" << everyEntry;
        QTest::newRow("defaults, no Enabled")
            << QJsonValue(QJsonObject{{"ForeColor", qint64(Taste::ButtonTextColor)},
                                      {"LED_Visible", false},
                                      {"Caption", "Text"},
                                      {"MousePointer", 0}})
            << false << false << "Text" << QJsonObject{{"Enabled", false}};
        QTest::newRow("names in any case")
            << QJsonValue(
                   QJsonObject{{"CAPTION", "Caps"}, {"enabled", true}, {"led_visible", true}})
            << true << true << "Caps"
            << QJsonObject{{"Caption", "Caps"}, {"Enabled", true}, {"LED_Visible", true}};
    }
    void loadsAndWritesBack() {
        QFETCH(QJsonValue, stored);
        QFETCH(bool, lampShown);
        QFETCH(bool, enabled);
        QFETCH(QString, caption);
        QFETCH(QJsonObject, written);
        if (stored.isObject())
            key->UserControl_ReadProperties(PropertyBag(stored.toObject()));
        QCOMPARE(part(*key, "x")->isVisible(), lampShown);
        QCOMPARE(key->isEnabled(), enabled);
        QCOMPARE(static_cast<QLabel*>(part(*key, "TEXTLAB"))->text(), caption);
        QCOMPARE(key->Caption(), caption);
        PropertyBag bag;
        key->UserControl_WriteProperties(bag);
        QCOMPARE(bag.entries(), written);
    }

    // Only a load shows or hides the lamp: a new key shows it although LED_Visible is false, and
    // the setter changes nothing on screen.
    void lampFollowsLED_VisibleOnlyAtLoad() {
        QWidget* lamp = part(*key, "x");
        QVERIFY(lamp->isVisible());
        for (bool visible : {false, true}) {
            const QImage before = key->grab().toImage();
            key->setLED_Visible(visible);
            QCOMPARE(key->grab().toImage(), before);
            PropertyBag bag;
            key->UserControl_WriteProperties(bag);
            key->UserControl_ReadProperties(bag);
            QCOMPARE(lamp->isVisible(), visible);
        }
    }
};

QTEST_MAIN(TasteTest)
#include "tst_taste.moc"
