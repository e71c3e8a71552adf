#pragma once

#include <QObject>

class Keyboard;
class QSocketNotifier;
class QWindow;

// Every way the program is asked to end, told by one signal on the event loop, so that it can
// close the ordinary way instead of dying with the lock LEDs lit: SIGINT, SIGTERM, SIGHUP and
// SIGQUIT (one that comes before the event loop runs is kept for it), the session's quit, the
// loss of a watched window, and a watched keyboard losing the system for good, which counts as a
// failure. SIGPIPE is ignored, so that a connection cut under the program ends it through the
// same cleanup.
class QuitRequests : public QObject {
    Q_OBJECT

public:
    explicit QuitRequests(QObject* parent = nullptr);
    ~QuitRequests() override;

    // Another X client destroying the window's native window asks to end as well.
    void watch(QWindow& window);
    // A keyboard whose connection is cut for good asks to end, saying why in one line on
    // standard error.
    void watch(Keyboard& keyboard);

    // 1 once a watched keyboard has failed, else 0.
    int exitStatus() const { return m_failed ? 1 : 0; }

signals:
    void quitRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
    bool m_failed = false;
};
