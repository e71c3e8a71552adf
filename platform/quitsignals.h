#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM, SIGHUP and SIGQUIT into a signal on the event loop, so that the program
// can close its window the ordinary way instead of dying with the lock LEDs lit. A signal that
// comes before the event loop runs is kept for it. SIGPIPE is ignored, so that a connection cut
// under the program ends it through the same cleanup.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
