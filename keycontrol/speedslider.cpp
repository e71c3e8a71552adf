#include "keycontrol/speedslider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>

namespace {
// A click in the trough moves by one page step whatever the desktop's style prefers (many jump
// to the click position on a middle or left click), and there is no scroll menu.
class PagingStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        switch (hint) {
        case SH_ScrollBar_LeftClickAbsolutePosition:
        case SH_ScrollBar_ContextMenu:
        case SH_Slider_StopMouseOverSlider:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};
} // namespace

SpeedSlider::SpeedSlider(Qt::Orientation orientation, int first, int last, int value,
                         QWidget* parent)
    : QScrollBar(orientation, parent) {
    auto* style = new PagingStyle;
    style->setParent(this);
    setStyle(style);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setRange(std::min(first, last), std::max(first, last));
    setInvertedAppearance(first > last);
    setSingleStep(1);
    setPageStep(1);
    setValue(value);

    connect(this, &QAbstractSlider::actionTriggered, this, &SpeedSlider::moveTowardsDrawnEnd);
    connect(this, &QAbstractSlider::sliderPressed, this,
            [this] { m_valueAtPress = this->value(); });
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (!isSliderDown())
            emit Change();
    });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        if (this->value() != m_valueAtPress)
            emit Change();
    });
}

void SpeedSlider::focusInEvent(QFocusEvent* event) {
    QScrollBar::focusInEvent(event);
    // Focus also comes back after a menu, a popup or another window had it; that is no new focus.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
        emit GotFocus();
        break;
    default:
        break;
    }
}

void SpeedSlider::keyPressEvent(QKeyEvent* event) {
    const SliderAction action = keyAction(event->key());
    if (action == SliderNoAction) {
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

// Keys name their step by the end it goes towards as drawn, as Qt's arrows and trough do: Up,
// Left, PageUp and Home towards the top or left end, the others towards the bottom or right.
QAbstractSlider::SliderAction SpeedSlider::keyAction(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        return SliderSingleStepSub;
    case Qt::Key_Down:
    case Qt::Key_Right:
        return SliderSingleStepAdd;
    case Qt::Key_PageUp:
        return SliderPageStepSub;
    case Qt::Key_PageDown:
        return SliderPageStepAdd;
    case Qt::Key_Home:
        return SliderToMinimum;
    case Qt::Key_End:
        return SliderToMaximum;
    default:
        return SliderNoAction;
    }
}

// Qt steps as if the minimum were always at the top or left end, and clamps before this runs: at
// the reversed slider's ends, mirroring its result would undo the step. So the new position is
// taken from the current value, the step, and the end the action moves the thumb towards;
// setSliderPosition keeps it within the range.
void SpeedSlider::moveTowardsDrawnEnd(int action) {
    const bool reversed = invertedAppearance();
    const int towardsLast = reversed ? -1 : 1; // the sign of a step towards the bottom or right
    switch (action) {
    case SliderSingleStepAdd:
        return setSliderPosition(value() + towardsLast * singleStep());
    case SliderSingleStepSub:
        return setSliderPosition(value() - towardsLast * singleStep());
    case SliderPageStepAdd:
        return setSliderPosition(value() + towardsLast * pageStep());
    case SliderPageStepSub:
        return setSliderPosition(value() - towardsLast * pageStep());
    case SliderToMinimum:
        return setSliderPosition(reversed ? maximum() : minimum());
    case SliderToMaximum:
        return setSliderPosition(reversed ? minimum() : maximum());
    default:
        return;
    }
}

void SpeedSlider::mousePressEvent(QMouseEvent* event) {
    // A second button pressed while one is held changes nothing, nor does its release.
    if (event->buttons() & ~event->button())
        return;
    endPress(); // one whose release was lost
    m_heldButton = event->button();
    forwardAsLeftButton(event, [this](QMouseEvent* e) { QScrollBar::mousePressEvent(e); });
}

void SpeedSlider::mouseMoveEvent(QMouseEvent* event) {
    forwardAsLeftButton(event, [this](QMouseEvent* e) { QScrollBar::mouseMoveEvent(e); });
}

void SpeedSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != m_heldButton)
        return;
    forwardAsLeftButton(event, [this](QMouseEvent* e) { QScrollBar::mouseReleaseEvent(e); });
    m_heldButton = Qt::NoButton;
}

// No release reaches a hidden slider, nor one whose window has gone inactive or lost the pointer
// to a popup: the press ends there. (Disabling it ends a drag already, in Qt's own handler.)
bool SpeedSlider::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        endPress();
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            endPress();
        break;
    default:
        break;
    }
    return QScrollBar::event(event);
}

// As if the held button were released: an arrow stops repeating, and a dragged thumb stays where
// it is, which completes the change.
void SpeedSlider::endPress() {
    if (m_heldButton == Qt::NoButton)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), m_heldButton,
                        Qt::NoButton, Qt::NoModifier);
    mouseReleaseEvent(&release);
}

// A value changes only by a click, a key or a drag; a wheel turned over the window passes by.
void SpeedSlider::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

// Qt's scroll bar pages only on the left button (the middle one jumps or does nothing, the right
// one opens a menu); every button is handed on as the left one so that all behave alike.
void SpeedSlider::forwardAsLeftButton(QMouseEvent* event,
                                      const std::function<void(QMouseEvent*)>& handle) {
    QMouseEvent left(event->type(), event->position(), event->scenePosition(),
                     event->globalPosition(),
                     event->button() == Qt::NoButton ? Qt::NoButton : Qt::LeftButton,
                     event->buttons() == Qt::NoButton ? Qt::NoButton : Qt::LeftButton,
                     event->modifiers(), event->pointingDevice());
    left.setTimestamp(event->timestamp());
    handle(&left);
    event->setAccepted(left.isAccepted());
}
