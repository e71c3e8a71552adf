// The Qt floor: the plainest Qt Widgets program that does on screen and on the keyboard what
// "All" needs, to tell how much of Tintaro's cost is Qt's own. A window with three 27 x 8 lamps,
// repainted when an indicator changes; the indicators read every 50 ms; all three lock keys
// toggled through XTEST every 100 ms ("all") or never ("idle").
// Usage: bench_qtfloor idle|all   (runs until killed)

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

// Xlib's macros clash with Qt: included after Qt.
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

class Lamps : public QWidget {
public:
    void setIndicators(unsigned indicators) {
        if (indicators == m_indicators)
            return;
        m_indicators = indicators;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int i = 0; i < 3; ++i)
            painter.fillRect(16 + 80 * i, 60, 27, 8,
                             m_indicators & (1u << i) ? QColor(0, 255, 0) : QColor(0, 64, 0));
    }

private:
    unsigned m_indicators = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    const bool all = argc > 1 && std::strcmp(argv[1], "all") == 0;
    QApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const KeyCode keys[] = {XKeysymToKeycode(display, XK_Num_Lock),
                            XKeysymToKeycode(display, XK_Caps_Lock),
                            XKeysymToKeycode(display, XK_Scroll_Lock)};
    Lamps lamps;
    lamps.resize(466, 218);
    lamps.setWindowTitle("Qt floor");
    lamps.show();

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        unsigned state = 0;
        XkbGetIndicatorState(display, XkbUseCoreKbd, &state);
        lamps.setIndicators(state);
    });
    poll.start(50);
    QTimer toggles;
    toggles.setTimerType(Qt::PreciseTimer);
    QObject::connect(&toggles, &QTimer::timeout, [&] {
        for (KeyCode key : keys) {
            XTestFakeKeyEvent(display, key, True, CurrentTime);
            XTestFakeKeyEvent(display, key, False, CurrentTime);
        }
        XFlush(display);
    });
    if (all)
        toggles.start(100);
    return app.exec();
}
