#pragma once

#include <QScrollBar>

#include <functional>

// A speed slider with arrows, whose Change signal runs once a change of value is complete:
// after an arrow, a click in the trough, an arrow key, the release of a dragged thumb, or a
// different value set by the program; never while the thumb is being dragged. value() follows
// the thumb during a drag all the same. A click in the trough, with any mouse button, moves the
// value by the page step towards the click, never to the click position; arrows, trough and
// keys move the thumb the way they point, also when the values run backwards. A press whose
// release cannot come any more (the slider hidden, its window inactive, a popup open, a new press
// begun) ends as if released there; disabling the slider ends a drag in Qt's own handler.
class SpeedSlider : public QScrollBar {
    Q_OBJECT

public:
    // `first` is the value at the top or left end, `last` the one at the bottom or right end.
    SpeedSlider(Qt::Orientation orientation, int first, int last, int value, QWidget* parent);

signals:
    void Change();
    // The slider took the keyboard focus, by a click or the Tab key (Shift+Tab too); not when
    // its window becomes active again or a menu gives the focus back.
    void GotFocus();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    static SliderAction keyAction(int key);
    void moveTowardsDrawnEnd(int action);
    void endPress();
    void forwardAsLeftButton(QMouseEvent* event, const std::function<void(QMouseEvent*)>& handle);

    Qt::MouseButton m_heldButton = Qt::NoButton; // the button a press on the slider began with
    int m_valueAtPress = 0;
};
