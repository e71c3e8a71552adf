#pragma once

#include <QObject>

class QWidget;

// Signals each left click that completes on `widget`, pressed and released on it; one on a child
// that lets the press through counts as well. It goes with the widget.
class ClickWatch final : public QObject {
    Q_OBJECT

public:
    explicit ClickWatch(QWidget* widget);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_pressed = false;
};
