#include "keycontrol/buttonmessage.h"
#include "keycontrol/propertybag.h"
#include "tests/keylook.h"

#include <QApplication>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>

#include <memory>

namespace {

// Every part's rectangle, "hidden" for the parts not shown, and the lamp's colour (#00ff00 lit,
// #008000 dark): the picture the user sees.
QString look(const Taste& key) {
    QStringList parts;
    for (const char* name : {"a", "b", "c", "d", "e", "x", "TEXTLAB", "LAB1"}) {
        const QWidget* w = keyPart(&key, name);
        parts << QString::asprintf("%s %dx%d@%d,%d%s", name, w->width(), w->height(), w->x(),
                                   w->y(), w->isHidden() ? " hidden" : "");
    }
    return (parts << lampColor(&key).name()).join(", ");
}

struct PaintCount : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

const QString Released = "a 61x56@6,0, b 73x64@0,2, c 61x56@6,2 hidden, d 70x61@1,4 hidden, "
                         "e 73x62@0,2, x 29x10@32,41, TEXTLAB 73x68@11,6, LAB1 1095x1020@0,0";
const QString Pressed = "a 61x56@6,0 hidden, b 73x64@0,2 hidden, c 61x56@6,2, d 70x61@1,4, "
                        "e 73x62@0,2, x 29x10@32,44, TEXTLAB 73x68@11,8, LAB1 1295x1220@-100,-100";

} // namespace

class TasteTest : public QObject {
    Q_OBJECT

    // Each test gets a shown key of the main window's size, 73 x 68, in a window, and the log of
    // its events, a pointer event with whether the key was drawn pressed when it was raised.
    std::unique_ptr<QWidget> window;
    Taste* key = nullptr;
    QStringList events;

private slots:
    void init() {
        window = std::make_unique<QWidget>();
        key = new Taste(window.get());
        key->setGeometry(100, 100, 73, 68);
        window->show();
        events.clear();
        auto state = [this] { return drawnPressed(key) ? " pressed" : " released"; };
        connect(key, &Taste::Click, this, [=, this] { events << "Click" + QString(state()); });
        connect(key, &Taste::MouseDown, this, [=, this](int button, int shift, float x, float y) {
            events << QString::asprintf("MouseDown %d %d %g,%g%s", button, shift, x, y, state());
        });
        connect(key, &Taste::DblClick, this, [this] { events << "DblClick"; });
        connect(key, &Taste::KeyDown, this, [this](int code, int shift) {
            events << QString::asprintf("KeyDown %d %d", code, shift);
        });
        connect(key, &Taste::KeyPress, this,
                [this](int ascii) { events << QString::asprintf("KeyPress %d", ascii); });
        connect(key, &Taste::KeyUp, this, [this](int code, int shift) {
            events << QString::asprintf("KeyUp %d %d", code, shift);
        });
    }

    // What the key reports of a key going down, repeating as Qt repeats a held key on X11 (an
    // automatic release and press each time), and going up, as Qt delivers it to the key with
    // the focus: virtual-key codes, the Shift (1), Ctrl (2) and Alt (4) flags and the character
    // typed.
    void keyEvents_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, Qt::Key qtKey, Qt::KeyboardModifiers modifiers,
                            const QString& text, int repeats, const QString& expected) {
            QTest::newRow(name) << int(qtKey) << modifiers << text << repeats << expected;
        };
        row("letter", Qt::Key_A, {}, "a", 0, "KeyDown 65 0, KeyPress 97, KeyUp 65 0");
        row("Shift, letter, held", Qt::Key_Z, Qt::ShiftModifier, "Z", 1,
            "KeyDown 90 1, KeyPress 90, KeyDown 90 1, KeyPress 90, KeyUp 90 1");
        row("Ctrl Alt F12", Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier, "", 0,
            "KeyDown 123 6, KeyUp 123 6");
        row("keypad 0", Qt::Key_0, Qt::KeypadModifier, "0", 0,
            "KeyDown 96 0, KeyPress 48, KeyUp 96 0");
        row("Escape", Qt::Key_Escape, {}, "\x1b", 0, "KeyDown 27 0, KeyPress 27, KeyUp 27 0");
    }

    void keyEvents() {
        QFETCH(int, qtKey);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, text);
        QFETCH(int, repeats);
        QFETCH(QString, expected);
        const auto send = [&](QEvent::Type type, bool autoRepeat) {
            QKeyEvent event(type, qtKey, modifiers, text, autoRepeat);
            QApplication::sendEvent(key, &event);
        };
        send(QEvent::KeyPress, false);
        for (int i = 0; i < repeats; ++i) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
        QCOMPARE(events.join(", "), expected);
    }

    // Refresh repaints the key.
    void refreshRepaints() {
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        PaintCount paints;
        key->installEventFilter(&paints);
        key->Refresh();
        QTRY_VERIFY(paints.count > 0);
    }

    // A key pressed before it is first shown is laid out at its size then; later sizes move
    // nothing.
    void layoutIsFixedOncePressed() {
        Taste* fresh = new Taste(window.get());
        fresh->resize(73, 68);
        fresh->Down();
        fresh->show();
        fresh->resize(120, 90);
        QCOMPARE(look(*fresh),
                 QString(Pressed).replace("1295x1220@-100,-100", "1095x1020@0,0") + ", #008000");
    }

    // Up on a key never pressed, then Down twice as once; the lamp keeps its colour through Down
    // and Up, and LedOn changes only the colour, either way. A shown key keeps its layout whatever
    // its size. The click surface stays enlarged until the key is shown again.
    void downUpAndLedOnChangeOnlyTheirParts() {
        key->resize(120, 90);
        key->LedOn(true);
        QCOMPARE(look(*key), Released + ", #00ff00");
        key->resize(73, 68);
        key->Up();
        key->Down();
        key->Down();
        QCOMPARE(look(*key), Pressed + ", #00ff00");
        key->LedOn(false);
        key->Up();
        QVERIFY(look(*key).contains("LAB1 1295x1220@-100,-100"));
        key->hide();
        key->show();
        QCOMPARE(look(*key),
                 QString(Released).replace("e 73x62@0,2", "e 73x62@0,2 hidden") + ", #008000");
    }

    // A double click on the lamp, the topmost part, ending in a release left of the key while Qt
    // keeps the pointer grab, is two clicks and no DblClick: the click surface covers the key. Then
    // presses at (20, 30) and their releases, as "events at the press / at the release": any button
    // presses the key; the left one clicks when released on the click surface, which reaches 100
    // pixels left of and above the pressed key and far to its right and below. A disabled key looks
    // the same as an enabled one and ignores the pointer. Last, button messages press and release
    // the key, disabled and enabled, and never click.
    void pointerAndButtonMessages() {
        const auto gesture = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPoint release) {
            events.clear();
            mouseOnKey(key, QTest::MousePress, button, {20, 30}, modifiers);
            events << (drawnPressed(key) ? "/" : "(drawn released) /");
            mouseOnKey(key, QTest::MouseRelease, button, release, modifiers);
            return events.join(' ') + (drawnPressed(key) ? " (drawn pressed)" : "");
        };
        const auto left = Qt::LeftButton;
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseDClick(window->windowHandle(), left, {}, QPoint(140, 145));
        QTest::mouseRelease(window->windowHandle(), left, {}, QPoint(60, 130));
        QStringList seen{events.join(' ')};
        seen << gesture(left, Qt::ShiftModifier | Qt::AltModifier, {-100, 30})
             << gesture(left, {}, {1000, 900}) << gesture(left, {}, {-101, 30})
             << gesture(Qt::RightButton, Qt::ControlModifier, {20, 30})
             << gesture(Qt::MiddleButton, {}, {20, 30});
        const QImage enabledLook = key->grab().toImage();
        key->setForeColor(0x0000FF); // kept only
        key->setEnabled(false);
        QCOMPARE(key->grab().toImage(), enabledLook);
        seen << gesture(left, {}, {20, 30});
        for (bool enabled : {false, true}) {
            key->setEnabled(enabled);
            events.clear();
            SendButtonMessage(key->hWnd(), ButtonMessage::LeftButtonDown);
            SendButtonMessage(key->hWnd(), ButtonMessage::LeftButtonUp);
            seen << events.join(' ') + (drawnPressed(key) ? " (drawn pressed)" : "");
        }
        QCOMPARE(
            seen.join(" | "),
            "MouseDown 1 0 40,45 pressed Click released MouseDown 1 0 40,45 pressed Click "
            "released | MouseDown 1 5 20,30 pressed / Click released | MouseDown 1 0 20,30 "
            "pressed / Click released | MouseDown 1 0 20,30 pressed / | MouseDown 2 2 20,30 "
            "pressed / | MouseDown 4 0 20,30 pressed / | (drawn released) / | MouseDown 1 0 0,0 "
            "pressed | MouseDown 1 0 0,0 pressed");
    }

    // A new key (no `stored` entries) or one loaded from them, its LED_Visible then set to
    // `setLed` (-1 leaves it), which changes nothing on screen: what it writes over what it loaded.
    // Loaded again, the written entries show the lamp if they hold LED_Visible.
    void loadsAndWritesBack_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("setLed");
        QTest::addColumn<QString>("written");
        const QString every =
            R"({"FORECOLOR": 255, "enabled": false, "led_visible": true, "CAPTION": "Caps",
            "font": {"name": "Courier", "size": 12.75, "weight": 700, "italic": true,
                     "underline": true, "strikeout": true}, "MousePointer": 99})";
        QTest::newRow("new key") << "" << -1 << R"({"Enabled": true})";
        QTest::newRow("every entry, names in any case") << every << -1 << every;
        QTest::newRow("defaults, no Enabled")
            << R"({"ForeColor": 2147483666, "LED_Visible": false, "Caption": "Text"})" << 1
            << R"({"Enabled": false, "LED_Visible": true})";
    }
    void loadsAndWritesBack() {
        QFETCH(QString, stored);
        QFETCH(int, setLed);
        QFETCH(QString, written);
        PropertyBag bag(QJsonDocument::fromJson(stored.toUtf8()).object());
        if (!stored.isEmpty())
            key->UserControl_ReadProperties(bag);
        QCOMPARE(static_cast<QLabel*>(keyPart(key, "TEXTLAB"))->text(), key->Caption());
        const QImage before = key->grab().toImage();
        if (setLed >= 0)
            key->setLED_Visible(setLed);
        QCOMPARE(key->grab().toImage(), before);
        key->UserControl_WriteProperties(bag);
        QCOMPARE(bag.entries(), QJsonDocument::fromJson(written.toUtf8()).object());
        key->UserControl_ReadProperties(bag);
        QCOMPARE(keyPart(key, "x")->isVisible(),
                 written.contains("LED_Visible", Qt::CaseInsensitive));
    }
};

QTEST_MAIN(TasteTest)
#include "tst_taste.moc"
