// The key control's lamp on a real X server, which shows it by itself: the window as the server
// holds it, lamp and all, is the window as Qt draws it, in every state of the key.

#include "keycontrol/propertybag.h"
#include "keycontrol/taste.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Xlib's macros clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/Xutil.h>

class LampTest : public QObject {
    Q_OBJECT

    X11Observer x;
    QWidget window;
    Taste* key = new Taste(&window);
    Taste* unlit = new Taste(&window); // shows no lamp

    // The window's pixels as the server holds them, its child windows' among them.
    QImage onServer() const {
        const auto id = Window(window.winId());
        XImage* image = XGetImage(x.dpy, id, 0, 0, unsigned(window.width()),
                                  unsigned(window.height()), AllPlanes, ZPixmap);
        if (!image)
            return {};
        QImage pixels(window.size(), QImage::Format_RGB32);
        for (int row = 0; row < pixels.height(); ++row)
            for (int col = 0; col < pixels.width(); ++col)
                pixels.setPixel(col, row, QRgb(XGetPixel(image, col, row)) | 0xff000000);
        XDestroyImage(image);
        return pixels;
    }

    // Where the server shows something inside the window, "x,y wxh" for each mapped child.
    QStringList shownInside() const {
        QStringList shown;
        for (XWindowAttributes a; Window child : x.windows(true, Window(window.winId())))
            if (XGetWindowAttributes(x.dpy, child, &a))
                shown << QStringLiteral("%1,%2 %3x%4").arg(a.x).arg(a.y).arg(a.width).arg(a.height);
        return shown;
    }

private slots:
    void initTestCase() {
        QVERIFY(x.dpy);
        PropertyBag lamp(QJsonDocument::fromJson(R"({"Enabled": true, "LED_Visible": true,
                                                     "Caption": "Caps"})")
                             .object());
        key->UserControl_ReadProperties(lamp);
        PropertyBag none(
            QJsonDocument::fromJson(R"({"Enabled": true, "Caption": "Num"})").object());
        unlit->UserControl_ReadProperties(none);
        key->setGeometry(10, 20, 73, 68);
        unlit->setGeometry(100, 20, 73, 68);
        window.resize(200, 110);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // Lit or dark, released or pressed, usable or greyed: the server's pixels are Qt's drawing,
    // and its lamp (29 x 10 at (32, 41) in the key, 3 pixels lower pressed) the only thing it
    // shows by itself.
    void serverShowsWhatQtDraws_data() {
        QTest::addColumn<bool>("lit");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("enabled");
        for (bool enabled : {true, false})
            for (bool pressed : {false, true})
                for (bool lit : {true, false})
                    QTest::addRow("%s, %s%s", lit ? "lit" : "dark",
                                  pressed ? "pressed" : "released", enabled ? "" : ", greyed")
                        << lit << pressed << enabled;
    }
    void serverShowsWhatQtDraws() {
        QFETCH(bool, lit);
        QFETCH(bool, pressed);
        QFETCH(bool, enabled);
        key->setEnabled(enabled);
        unlit->setEnabled(enabled);
        pressed ? key->Down() : key->Up();
        key->LedOn(lit);
        const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTRY_COMPARE(onServer(), drawn);
        QCOMPARE(shownInside(), QStringList{pressed ? "42,64 29x10" : "42,61 29x10"});
        QCOMPARE(QColor(drawn.pixel(56, pressed ? 69 : 66)), QColor(0, lit ? 255 : 128, 0));
    }

    // Hidden with its key, shown with it again as it was left.
    void goesWithItsKey() {
        key->Up();
        key->LedOn(true);
        key->hide();
        QTRY_COMPARE(shownInside(), QStringList());
        key->show();
        QTRY_COMPARE(shownInside(), QStringList{"42,61 29x10"});
        QTRY_COMPARE(onServer(), window.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(LampTest)
#include "tst_lamp_x11.moc"
