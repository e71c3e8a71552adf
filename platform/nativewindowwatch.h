#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QWindow;

// Tells when another X client destroys a window's native window (xdotool windowclose, say): Qt
// carries on without it, and the program would run on with nothing left to close.
class NativeWindowWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // Goes with the window.
    explicit NativeWindowWatch(QWindow& window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void nativeWindowDestroyed();

private:
    QWindow& m_window;
};
