#include "keycontrol/taste.h"
#include "keycontrol/roundedshape.h"

#include "keycontrol/buttonmessage.h"
#include "platform/virtualkey.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The outer size in twips, the measure the lamp and the click surface are sized by.
constexpr int TwipsPerPixel = 15;
int twips(int pixels) {
    return pixels * TwipsPerPixel;
}

const QString NewCaption = QStringLiteral("Text");

const QColor FaceColor(224, 224, 224);
const QColor BodyColor(192, 192, 192);
const QColor LampDark(0, 128, 0);
const QColor LampLit(0, 255, 0);

// The caption, drawn in the active text colour even while disabled: a disabled key must look
// exactly like an enabled one.
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
    }
};

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// The virtual-key code of a Qt key; 0 for keys without one.
int virtualKeyOf(const QKeyEvent& event) {
    using enum VirtualKey;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
        return virtualKeyCode(nthKey(keypad ? Numpad0 : Key0, key - Qt::Key_0));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return virtualKeyCode(nthKey(KeyA, key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return virtualKeyCode(nthKey(F1, key - Qt::Key_F1));
    static const QHash<int, VirtualKey> Named{
        {Qt::Key_Backspace, Back},   {Qt::Key_Tab, Tab},          {Qt::Key_Backtab, Tab},
        {Qt::Key_Return, Return},    {Qt::Key_Enter, Return},     {Qt::Key_Shift, Shift},
        {Qt::Key_Control, Control},  {Qt::Key_Alt, Menu},         {Qt::Key_Pause, Pause},
        {Qt::Key_CapsLock, Capital}, {Qt::Key_Escape, Escape},    {Qt::Key_Space, Space},
        {Qt::Key_PageUp, Prior},     {Qt::Key_PageDown, Next},    {Qt::Key_End, End},
        {Qt::Key_Home, Home},        {Qt::Key_Left, Left},        {Qt::Key_Up, Up},
        {Qt::Key_Right, Right},      {Qt::Key_Down, Down},        {Qt::Key_Insert, Insert},
        {Qt::Key_Delete, Delete},    {Qt::Key_Print, Snapshot},   {Qt::Key_Help, Help},
        {Qt::Key_Super_L, LWin},     {Qt::Key_Meta, LWin},        {Qt::Key_Menu, Apps},
        {Qt::Key_NumLock, NumLock},  {Qt::Key_ScrollLock, Scroll}};
    const auto named = Named.constFind(key);
    return named == Named.cend() ? 0 : virtualKeyCode(*named);
}

} // namespace

Taste::Taste(QWidget* parent) : QWidget(parent) {
    using Outline = RoundedShape::Outline;
    // A later sibling is drawn over an earlier one, so the children are made bottom first.
    ui.e = new RoundedShape(Qt::black, Outline::None, this);
    ui.b = new RoundedShape(BodyColor, Outline::Black, this);
    ui.a = new RoundedShape(FaceColor, Outline::Black, this);
    ui.d = new RoundedShape(BodyColor, Outline::Black, this);
    ui.c = new RoundedShape(FaceColor, Outline::Black, this);
    ui.TEXTLAB = new CaptionLabel(this);
    ui.LAB1 = new QLabel(this);
    ui.x = new RoundedShape(LampDark, Outline::WindowText, this);
    // The lamp lies on the face, released or pressed. Drawn on the face's colour, a change of
    // its colour repaints the lamp alone, not the key and the panel beneath it.
    ui.x->setGround(FaceColor);

    ui.e->setObjectName(QStringLiteral("e"));
    ui.b->setObjectName(QStringLiteral("b"));
    ui.a->setObjectName(QStringLiteral("a"));
    ui.d->setObjectName(QStringLiteral("d"));
    ui.c->setObjectName(QStringLiteral("c"));
    ui.TEXTLAB->setObjectName(QStringLiteral("TEXTLAB"));
    ui.LAB1->setObjectName(QStringLiteral("LAB1"));
    ui.x->setObjectName(QStringLiteral("x"));

    ui.c->hide();
    ui.d->hide();

    // Only the click surface takes pointer input; the shapes, the lamp above it among them, let
    // it through of themselves.
    ui.TEXTLAB->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui.TEXTLAB->setTextFormat(Qt::PlainText);
    ui.LAB1->installEventFilter(this);

    UserControl_InitProperties();
    setFocusPolicy(Qt::StrongFocus);
}

Taste::~Taste() = default;

QString Taste::Caption() const {
    ui.TEXTLAB->setText(CaptionText);
    return CaptionText;
}

void Taste::setCaption(const QString& caption) {
    CaptionText = caption;
    ui.TEXTLAB->setText(caption);
}

QFont Taste::Font() const {
    ui.TEXTLAB->setFont(font());
    return font();
}

void Taste::setMouseIcon(const QCursor& icon) {
    m_mouseIcon = icon;
    applyPointer();
}

void Taste::setMousePointer(int pointer) {
    m_mousePointer = pointer;
    applyPointer();
}

void Taste::applyPointer() {
    if (m_mousePointer == CustomPointer)
        setCursor(m_mouseIcon);
    else
        unsetCursor();
}

void Taste::UserControl_InitProperties() {
    const QFont font = ambientFont();
    ui.TEXTLAB->setText(NewCaption);
    ui.TEXTLAB->setFont(font);
    setFont(font);
    LedVisibleFlag = false;
    CaptionText = NewCaption;
}

void Taste::UserControl_WriteProperties(PropertyBag& PropBag) const {
    PropBag.writeColor(u"ForeColor", m_foreColor, ButtonTextColor);
    PropBag.writeBool(u"Enabled", isEnabled());
    PropBag.writeFont(u"Font", font(), ambientFont());
    PropBag.writeBool(u"LED_Visible", LedVisibleFlag, false);
    PropBag.writeText(u"Caption", CaptionText, NewCaption);
    PropBag.writePicture(u"MouseIcon", m_mouseIcon);
    PropBag.writeInt(u"MousePointer", m_mousePointer, DefaultPointer);
}

void Taste::UserControl_ReadProperties(const PropertyBag& PropBag) {
    setMouseIcon(PropBag.readPicture(u"MouseIcon"));
    setMousePointer(PropBag.readInt(u"MousePointer", DefaultPointer));
    ui.TEXTLAB->setFont(PropBag.readFont(u"Font", ambientFont()));
    ui.TEXTLAB->setText(PropBag.readText(u"Caption", NewCaption));
    setForeColor(PropBag.readColor(u"ForeColor", ButtonTextColor));
    setEnabled(PropBag.readBool(u"Enabled", false)); // absent, it reads as empty: false
    setFont(PropBag.readFont(u"Font", ambientFont()));
    ui.x->setVisible(PropBag.readBool(u"LED_Visible", false));
    LedVisibleFlag = PropBag.readBool(u"LED_Visible", false);
    CaptionText = PropBag.readText(u"Caption", NewCaption);
}

QFont Taste::ambientFont() const {
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void Taste::LedOn(bool StatusX) {
    ui.x->setFillColor(StatusX ? LampLit : LampDark);
}

void Taste::Down() {
    setShown();
    ui.a->hide();
    ui.b->hide();
    ui.x->move(ui.b->width() - 41, ui.b->height() - 20);
    ui.TEXTLAB->move(11, 8);
    ui.c->show();
    ui.d->show();
    ui.e->show();
    ui.LAB1->setGeometry(-100, -100, twips(width()) + 200, twips(height()) + 200);
}

void Taste::Up() {
    setShown();
    ui.a->show();
    ui.b->show();
    ui.TEXTLAB->move(11, 6);
    ui.x->move(ui.b->width() - 41, ui.b->height() - 23);
    ui.c->hide();
    ui.d->hide();
    ui.e->hide();
}

void Taste::Refresh() {
    update();
}

void Taste::setShown() {
    // Qt holds back the resize events of a hidden widget until it is shown; lay out the size
    // it already has before the layout is frozen.
    if (!ShownFlag && testAttribute(Qt::WA_PendingResizeEvent))
        layOut();
    ShownFlag = true;
}

void Taste::layOut() {
    const int w = width();
    const int h = height();
    ui.a->setGeometry(6, 0, w - 12, h - 12);
    ui.b->setGeometry(0, 2, w, h - 4);
    ui.d->setGeometry(1, 4, w - 3, h - 7);
    ui.c->setGeometry(6, 2, w - 12, h - 12);
    ui.e->setGeometry(0, 2, w, h - 6);
    ui.x->setGeometry(ui.b->width() - 41, ui.b->height() - 23, twips(w) / 37, twips(h) / 100);
    ui.TEXTLAB->setGeometry(11, 6, w, h);
}

void Taste::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!ShownFlag)
        layOut();
}

void Taste::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShownFlag = true;
    // Twips counts taken as pixels: the surface reaches far beyond the key's right and bottom.
    ui.LAB1->setGeometry(0, 0, twips(width()), twips(height()));
    ui.LAB1->update();
}

void Taste::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        ui.TEXTLAB->setFont(font());
    QWidget::changeEvent(event);
}

bool Taste::event(QEvent* event) {
    if (event->type() != ButtonMessageEvent::eventType())
        return QWidget::event(event);

    const auto& message = static_cast<const ButtonMessageEvent&>(*event);
    switch (message.message()) {
    case ButtonMessage::LeftButtonDown:
        Down();
        emit MouseDown(1, 0, message.position().x(), message.position().y());
        break;
    case ButtonMessage::LeftButtonUp:
        Up();
        break;
    }
    return true;
}

bool Taste::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui.LAB1)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a second press like any other
        pressOnClickSurface(static_cast<const QMouseEvent&>(*event));
        return true;
    case QEvent::MouseButtonRelease:
        releaseOnClickSurface(static_cast<const QMouseEvent&>(*event));
        return true;
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

void Taste::pressOnClickSurface(const QMouseEvent& event) {
    const int button = buttonCode(event.button());
    if (!isEnabled() || button == 0)
        return;
    // Down() moves the click surface, so the position is mapped while it is still in place.
    const QPointF at = ui.LAB1->mapToParent(event.position());
    m_buttonsDown |= event.button();
    Down();
    emit MouseDown(button, shiftCode(event.modifiers()), at.x(), at.y());
}

void Taste::releaseOnClickSurface(const QMouseEvent& event) {
    if (!m_buttonsDown.testFlag(event.button()))
        return;
    m_buttonsDown.setFlag(event.button(), false);
    // Released even if the key was disabled in between, so that it is not left drawn pressed.
    Up();
    // The click surface keeps the pointer from the press on, wherever the release happens.
    if (event.button() == Qt::LeftButton && isEnabled() &&
        ui.LAB1->rect().contains(event.position().toPoint()))
        emit Click();
}

void Taste::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(virtualKeyOf(*event), shiftCode(event->modifiers()));
    const QString text = event->text();
    if (text.size() == 1)
        emit KeyPress(text.at(0).unicode());
}

void Taste::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its KeyDown and KeyPress but goes up once.
    if (event->isAutoRepeat())
        return;
    emit KeyUp(virtualKeyOf(*event), shiftCode(event->modifiers()));
}

void Taste::mouseDoubleClickEvent(QMouseEvent*) {
    emit DblClick();
}

bool keyControlHasFocus() {
    return qobject_cast<Taste*>(QApplication::focusWidget()) != nullptr;
}
