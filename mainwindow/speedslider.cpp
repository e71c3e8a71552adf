#include "speedslider.h"

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

    connect(this, &QAbstractSlider::actionTriggered, this, &SpeedSlider::pointMouseStepsAtClick);
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

// Up and Left, PageUp and Home go towards the top or left end; Down, Right, PageDown and End
// towards the other. Qt's own mapping mixes drawn and value direction once values run backwards.
QAbstractSlider::SliderAction SpeedSlider::keyAction(int key) const {
    const bool backwards = invertedAppearance();
    const auto towardsStart = [backwards](SliderAction up, SliderAction down) {
        return backwards ? up : down;
    };
    const auto towardsEnd = [backwards](SliderAction up, SliderAction down) {
        return backwards ? down : up;
    };
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        return towardsStart(SliderSingleStepAdd, SliderSingleStepSub);
    case Qt::Key_Down:
    case Qt::Key_Right:
        return towardsEnd(SliderSingleStepAdd, SliderSingleStepSub);
    case Qt::Key_PageUp:
        return towardsStart(SliderPageStepAdd, SliderPageStepSub);
    case Qt::Key_PageDown:
        return towardsEnd(SliderPageStepAdd, SliderPageStepSub);
    case Qt::Key_Home:
        return towardsStart(SliderToMaximum, SliderToMinimum);
    case Qt::Key_End:
        return towardsEnd(SliderToMaximum, SliderToMinimum);
    default:
        return SliderNoAction;
    }
}

// Qt's scroll bar maps its arrow buttons and trough halves to steps as if the minimum were always
// at the top or left end. With the values reversed the step is mirrored, so that the thumb moves
// towards the arrow or the click.
void SpeedSlider::pointMouseStepsAtClick(int action) {
    if (!invertedAppearance() || m_heldButton == Qt::NoButton)
        return;
    switch (action) {
    case SliderSingleStepAdd:
    case SliderSingleStepSub:
    case SliderPageStepAdd:
    case SliderPageStepSub:
        setSliderPosition(2 * value() - sliderPosition());
        break;
    default:
        break;
    }
}

void SpeedSlider::mousePressEvent(QMouseEvent* event) {
    // A second button pressed while one is held changes nothing, nor does its release.
    if (event->buttons() & ~event->button())
        return;
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
