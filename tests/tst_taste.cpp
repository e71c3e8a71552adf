#include "buttonmessage.h"
#include "roundedshape.h"
#include "taste.h"

#include <QLabel>
#include <QTest>

namespace {

QWidget* part(Taste& key, const char* name) {
    return key.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

QColor lampColor(Taste& key) {
    return static_cast<RoundedShape*>(part(key, "x"))->fillColor();
}
QString captionShown(Taste& key) {
    return static_cast<QLabel*>(part(key, "TEXTLAB"))->text();
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
        parts << QStringLiteral("%1 %2x%3@%4,%5%6")
                     .arg(name)
                     .arg(r.width())
                     .arg(r.height())
                     .arg(r.x())
                     .arg(r.y())
                     .arg(w->isVisibleTo(&key) ? "" : " hidden");
    }
    return parts;
}

const QStringList Released{"a 61x56@6,0",        "b 73x64@0,2",       "c 61x56@6,2 hidden",
                           "d 70x61@1,4 hidden", "e 73x62@0,2",       "x 29x10@32,41",
                           "TEXTLAB 73x68@11,6", "LAB1 1095x1020@0,0"};
const QStringList Pressed{
    "a 61x56@6,0 hidden", "b 73x64@0,2 hidden", "c 61x56@6,2",        "d 70x61@1,4",
    "e 73x62@0,2",        "x 29x10@32,44",      "TEXTLAB 73x68@11,8", "LAB1 1295x1220@-100,-100"};

// A key of the main window's size, 73 x 68, with room around it to drag off.
struct Stage {
    QWidget window;
    Taste* key;
    Stage() : key(new Taste(&window)) {
        window.resize(300, 300);
        key->setGeometry(100, 100, 73, 68);
        key->setCaption(QStringLiteral("Caps"));
        window.show();
    }
};

// The key's events, each with whether the key was drawn pressed when it was raised.
struct EventLog {
    QStringList events;
    explicit EventLog(Taste& key) {
        auto add = [this, &key](const QString& event, bool withLook = false) {
            events << event + (!withLook ? "" : drawnPressed(key) ? " pressed" : " released");
        };
        QObject::connect(&key, &Taste::Click, [=] { add("Click", true); });
        QObject::connect(&key, &Taste::DblClick, [=] { add("DblClick"); });
        QObject::connect(&key, &Taste::MouseDown, [=](int button, int shift, float x, float y) {
            add(QString::asprintf("MouseDown %d %d %g,%g", button, shift, x, y), true);
        });
        QObject::connect(&key, &Taste::KeyDown, [=](int code, int shift) {
            add(QString::asprintf("KeyDown %d %d", code, shift));
        });
        QObject::connect(&key, &Taste::KeyPress,
                         [=](int ascii) { add(QString::asprintf("KeyPress %d", ascii)); });
        QObject::connect(&key, &Taste::KeyUp, [=](int code, int shift) {
            add(QString::asprintf("KeyUp %d %d", code, shift));
        });
    }
};

// Pointer input as Qt delivers it: to the click surface, in its coordinates, also off the key.
void mouse(QTest::MouseAction action, Taste& key, Qt::MouseButton button, QPoint onKey,
           Qt::KeyboardModifiers modifiers = {}) {
    QWidget* surface = part(key, "LAB1");
    QTest::mouseEvent(action, surface, button, modifiers, surface->mapFrom(&key, onKey));
}

QImage rendered(Taste& key) {
    QImage image(key.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    key.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

} // namespace

class TasteTest : public QObject {
    Q_OBJECT

private slots:
    void newKeyShowsDefaultsInContainerFont() {
        QWidget window;
        window.setFont(QFont(QStringLiteral("Liberation Serif"), 13));
        Taste* key = new Taste(&window);
        QCOMPARE(key->Caption(), QStringLiteral("Text"));
        QCOMPARE(captionShown(*key), QStringLiteral("Text"));
        QCOMPARE(key->Font(), window.font());
        QCOMPARE(part(*key, "TEXTLAB")->font(), window.font());
        QVERIFY(!key->LED_Visible());
        QVERIFY(part(*key, "x")->isVisibleTo(key));
        QCOMPARE(lampColor(*key), QColor(0, 128, 0));
        QVERIFY(key->isEnabled());
        QVERIFY(!key->testAttribute(Qt::WA_SetCursor));
    }

    void layoutFollowsSizeUntilShown_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("main window's key") << QSize(73, 68) << Released;
        QTest::newRow("100x50") << QSize(100, 50)
                                << QStringList{"a 88x38@6,0",         "b 100x46@0,2",
                                               "c 88x38@6,2 hidden",  "d 97x43@1,4 hidden",
                                               "e 100x44@0,2",        "x 40x7@59,23",
                                               "TEXTLAB 100x50@11,6", "LAB1 1500x750@0,0"};
    }
    void layoutFollowsSizeUntilShown() {
        QFETCH(QSize, size);
        QFETCH(QStringList, expected);
        QWidget window;
        Taste* key = new Taste(&window);
        key->resize(20, 20);
        key->resize(200, 120);
        key->resize(size);
        window.show();
        QCOMPARE(look(*key), expected);

        key->resize(120, 90);
        QCOMPARE(look(*key), expected);
    }

    void downAndUpSwitchTheLook() {
        Stage stage;
        Taste& key = *stage.key;
        key.Down();
        QCOMPARE(look(key), Pressed);
        key.Down();
        QCOMPARE(look(key), Pressed);

        key.Up();
        QStringList releasedStillEnlarged = Released;
        releasedStillEnlarged[4] = "e 73x62@0,2 hidden";
        releasedStillEnlarged[7] = "LAB1 1295x1220@-100,-100";
        QCOMPARE(look(key), releasedStillEnlarged);

        key.hide();
        key.show();
        QCOMPARE(part(key, "LAB1")->geometry(), QRect(0, 0, 1095, 1020));
    }

    void pressBeforeShowFreezesTheLayout() {
        Stage stage;
        Taste* key = new Taste(&stage.window);
        key->resize(73, 68);
        key->Down();
        key->resize(120, 90);
        key->show();
        QCOMPARE(look(*key).mid(0, 7), Pressed.mid(0, 7));
    }

    void ledOnChangesOnlyTheLampColour() {
        Stage stage;
        Taste& key = *stage.key;
        EventLog log(key);
        key.LedOn(true);
        QCOMPARE(lampColor(key), QColor(0, 255, 0));
        QCOMPARE(look(key), Released);
        key.Down();
        QCOMPARE(lampColor(key), QColor(0, 255, 0));
        key.LedOn(false);
        QCOMPARE(lampColor(key), QColor(0, 128, 0));
        QCOMPARE(look(key), Pressed);
        QVERIFY(log.events.isEmpty());
    }

    void leftClickRaisesMouseDownThenClick() {
        Stage stage;
        Taste& key = *stage.key;
        EventLog log(key);
        mouse(QTest::MousePress, key, Qt::LeftButton, {20, 30});
        QCOMPARE(log.events, QStringList{"MouseDown 1 0 20,30 pressed"});
        mouse(QTest::MouseRelease, key, Qt::LeftButton, {20, 30});
        QCOMPARE(log.events, (QStringList{"MouseDown 1 0 20,30 pressed", "Click released"}));
        QVERIFY(!drawnPressed(key));

        // A double click is two clicks; the second press finds the surface moved by Down().
        log.events.clear();
        mouse(QTest::MouseDClick, key, Qt::LeftButton, {5, 7});
        mouse(QTest::MouseRelease, key, Qt::LeftButton, {5, 7});
        QCOMPARE(log.events, (QStringList{"MouseDown 1 0 5,7 pressed", "Click released"}));
    }

    void pointerReachesTheClickSurfaceThroughTheWindow() {
        Stage stage;
        QVERIFY(QTest::qWaitForWindowExposed(&stage.window));
        QWindow* window = stage.window.windowHandle();
        EventLog log(*stage.key);
        // On the lamp, the topmost part, then released left of the key while Qt keeps the grab.
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(140, 145));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(60, 130));
        QCOMPARE(log.events, (QStringList{"MouseDown 1 0 40,45 pressed", "Click released"}));
    }

    void pressReportsButtonAndModifiers_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QStringList>("expected");
        const auto none = Qt::KeyboardModifiers();
        QTest::newRow("right") << Qt::RightButton << none
                               << QStringList{"MouseDown 2 0 9,9 pressed"};
        QTest::newRow("middle") << Qt::MiddleButton << none
                                << QStringList{"MouseDown 4 0 9,9 pressed"};
        QTest::newRow("shift left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                    << QStringList{"MouseDown 1 1 9,9 pressed", "Click released"};
        QTest::newRow("ctrl alt right")
            << Qt::RightButton << (Qt::ControlModifier | Qt::AltModifier)
            << QStringList{"MouseDown 2 6 9,9 pressed"};
    }
    void pressReportsButtonAndModifiers() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QStringList, expected);
        Stage stage;
        EventLog log(*stage.key);
        mouse(QTest::MousePress, *stage.key, button, {9, 9}, modifiers);
        mouse(QTest::MouseRelease, *stage.key, button, {9, 9}, modifiers);
        QCOMPARE(log.events, expected);
        QVERIFY(!drawnPressed(*stage.key));
    }

    void releaseOffTheKey_data() {
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("clicks");
        QTest::newRow("50 left") << QPoint(-50, 30) << true;
        QTest::newRow("99 above") << QPoint(30, -99) << true;
        QTest::newRow("far right and below") << QPoint(600, 500) << true;
        QTest::newRow("101 left") << QPoint(-101, 30) << false;
        QTest::newRow("150 above") << QPoint(30, -150) << false;
        QTest::newRow("beyond the surface") << QPoint(1300, 30) << false;
    }
    void releaseOffTheKey() {
        QFETCH(QPoint, release);
        QFETCH(bool, clicks);
        Stage stage;
        EventLog log(*stage.key);
        mouse(QTest::MousePress, *stage.key, Qt::LeftButton, {20, 20});
        mouse(QTest::MouseRelease, *stage.key, Qt::LeftButton, release);
        QCOMPARE(log.events.contains("Click released"), clicks);
        QVERIFY(!drawnPressed(*stage.key));
    }

    void simulatedPressAndReleaseNeverClick() {
        Stage stage;
        Taste& key = *stage.key;
        EventLog log(key);
        SendButtonMessage(key.hWnd(), ButtonMessage::LeftButtonDown);
        QCOMPARE(log.events, QStringList{"MouseDown 1 0 0,0 pressed"});
        SendButtonMessage(key.hWnd(), ButtonMessage::LeftButtonUp);
        QCOMPARE(log.events, QStringList{"MouseDown 1 0 0,0 pressed"});
        QVERIFY(!drawnPressed(key));

        // A disabled key can still be shown pressed and released.
        key.setEnabled(false);
        SendButtonMessage(key.hWnd(), ButtonMessage::LeftButtonDown);
        QVERIFY(drawnPressed(key));
        SendButtonMessage(key.hWnd(), ButtonMessage::LeftButtonUp);
        QVERIFY(!drawnPressed(key));
    }

    void disabledKeyIgnoresPointerAndLooksTheSame() {
        Stage stage;
        Taste& key = *stage.key;
        const QImage enabledLook = rendered(key);
        key.setForeColor(Qt::red);
        key.setEnabled(false);
        QCOMPARE(rendered(key), enabledLook);

        EventLog log(key);
        mouse(QTest::MousePress, key, Qt::LeftButton, {20, 20});
        QCOMPARE(look(key), Released);
        mouse(QTest::MouseRelease, key, Qt::LeftButton, {20, 20});
        QVERIFY(log.events.isEmpty());
    }

    void keyEventsArePassedOnWhileFocused() {
        Stage stage;
        Taste& key = *stage.key;
        EventLog log(key);
        QTest::keyClick(&key, Qt::Key_A);
        QTest::keyClick(&key, Qt::Key_NumLock);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Q, Qt::ShiftModifier | Qt::AltModifier, "Q", true);
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Q, Qt::ShiftModifier, "Q", true);
        QCoreApplication::sendEvent(&key, &held);
        QCoreApplication::sendEvent(&key, &repeat);
        QCOMPARE(log.events,
                 (QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0", "KeyDown 144 0",
                              "KeyUp 144 0", "KeyDown 81 5", "KeyPress 81"}));
    }

    void captionAndFontAreShownAgainWhenRead() {
        Stage stage;
        Taste& key = *stage.key;
        QCOMPARE(captionShown(key), QStringLiteral("Caps"));
        static_cast<QLabel*>(part(key, "TEXTLAB"))->setText("lost");
        QCOMPARE(key.Caption(), QStringLiteral("Caps"));
        QCOMPARE(captionShown(key), QStringLiteral("Caps"));

        const QFont serif(QStringLiteral("Liberation Serif"), 14);
        key.setFont(serif);
        QCOMPARE(part(key, "TEXTLAB")->font(), key.font());
        part(key, "TEXTLAB")->setFont(QFont(QStringLiteral("Liberation Mono"), 7));
        QCOMPARE(key.Font().family(), serif.family());
        QCOMPARE(part(key, "TEXTLAB")->font(), key.font());
    }

    void loadedPropertiesTakeEffect() {
        Stage stage;
        Taste& key = *stage.key;
        key.loadProperties(mainWindowKeyProperties(QStringLiteral("Scroll")));
        QCOMPARE(key.Caption(), QStringLiteral("Scroll"));
        QCOMPARE(captionShown(key), QStringLiteral("Scroll"));
        QVERIFY(key.isEnabled());
        QVERIFY(key.LED_Visible());
        QCOMPARE(key.Font().family(), QStringLiteral("Arial"));
        QCOMPARE(key.Font().pointSizeF(), 9.75);
        QCOMPARE(part(key, "TEXTLAB")->font(), key.font());
        QCOMPARE(key.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(key.cursor().hotSpot(), QPoint(5, 0));
        QCOMPARE(key.cursor().pixmap().size(), QSize(32, 32));

        // Only loading shows or hides the lamp.
        TasteProperties noLamp = mainWindowKeyProperties(QStringLiteral("Num"));
        noLamp.ledVisible = false;
        key.loadProperties(noLamp);
        QVERIFY(!part(key, "x")->isVisibleTo(&key));
        key.setLED_Visible(true);
        QVERIFY(key.LED_Visible());
        QVERIFY(!part(key, "x")->isVisibleTo(&key));

        // An empty store: no Enabled entry reads as false.
        key.loadProperties({});
        QVERIFY(!key.isEnabled());
        QCOMPARE(key.Caption(), QStringLiteral("Text"));
        QCOMPARE(key.font(), stage.window.font());
        QVERIFY(!key.testAttribute(Qt::WA_SetCursor));
    }
};

QTEST_MAIN(TasteTest)
#include "tst_taste.moc"
