#pragma once

#include "keycontrol/propertybag.h"

#include <QCursor>
#include <QFont>
#include <QWidget>

class QLabel;
class RoundedShape;

// An on-screen keyboard key: a key cap with a caption in its top-left corner and a small LED lamp,
// drawn pressed between Down() and Up(). All pointer input over the key lands on a transparent
// click surface, which turns presses into MouseDown and completed left clicks into Click.
//
// The children carry the object names of the design: the shapes "a", "b" (released face and
// body), "c", "d", "e" (pressed face, body and black surround), the lamp "x", the caption
// "TEXTLAB" and the click surface "LAB1".
//
// The key also handles ButtonMessageEvent (see SendButtonMessage): a left-button-down message
// runs Down() and raises MouseDown, a left-button-up message runs Up(); neither raises Click.
// These work on a disabled key too, so that a key can always be released.
//
// Positions are in pixels, in the key's own coordinates.
class Taste : public QWidget {
    Q_OBJECT

public:
    explicit Taste(QWidget* parent = nullptr);
    ~Taste() override;

    // Reading the caption shows it on TEXTLAB again.
    QString Caption() const;
    void setCaption(const QString& caption);

    // The key's font, which TEXTLAB follows; reading it applies it to TEXTLAB again. It is set
    // with QWidget::setFont.
    QFont Font() const;

    static constexpr ColorRef ButtonTextColor = 0x80000012; // the system colour of button text

    // Kept for the container only: no part of the key is drawn in it.
    ColorRef ForeColor() const { return m_foreColor; }
    void setForeColor(ColorRef color) { m_foreColor = color; }

    // Kept only: the lamp is shown or hidden by UserControl_ReadProperties(), never by this
    // setter.
    bool LED_Visible() const { return LedVisibleFlag; }
    void setLED_Visible(bool visible) { LedVisibleFlag = visible; }

    static constexpr int DefaultPointer = 0;
    static constexpr int CustomPointer = 99; // shows MouseIcon()

    QCursor MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QCursor& icon);
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);

    // The window that simulated button messages for this key are sent to.
    QWidget* hWnd() { return this; }

    // The stored properties, which the container's design data holds: written in a fixed order,
    // each left out where it equals its default; loaded with the default for an absent entry
    // (disabled, if "Enabled" is absent). Loading is the only way to show or hide the lamp.
    void UserControl_WriteProperties(PropertyBag& PropBag) const;
    void UserControl_ReadProperties(const PropertyBag& PropBag);

public slots:
    // Lights the lamp, or darkens it for false; nothing else changes.
    void LedOn(bool StatusX);
    // Shows the key pressed and enlarges the click surface 100 pixels beyond the key's left and
    // top edges, so that a release just outside the key still completes the click.
    void Down();
    // Shows the key released; the click surface keeps its size until the key is shown again.
    void Up();
    void Refresh();

signals:
    // A left press and release on the click surface; raised after the key is drawn released.
    void Click();
    // A double click on the key outside the click surface, which in practice never happens.
    void DblClick();
    // KeyCode is a Windows virtual-key code; Shift holds 1 for Shift, 2 for Ctrl, 4 for Alt.
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    // Button is 1 left, 2 right, 4 middle; raised after the key is drawn pressed.
    void MouseDown(int Button, int Shift, float x, float Y);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Children {
        RoundedShape* a;
        RoundedShape* b;
        RoundedShape* c;
        RoundedShape* d;
        RoundedShape* e;
        RoundedShape* x;
        QLabel* TEXTLAB;
        QLabel* LAB1;
    };

    void layOut();
    void setShown();
    void pressOnClickSurface(const QMouseEvent& event);
    void releaseOnClickSurface(const QMouseEvent& event);
    void applyPointer();
    // A new key: caption "Text", the container's font, LED_Visible false; the lamp stays shown.
    void UserControl_InitProperties();
    QFont ambientFont() const;

    Children ui;
    bool ShownFlag = false;
    QString CaptionText;
    bool LedVisibleFlag = false;
    ColorRef m_foreColor = ButtonTextColor;
    QCursor m_mouseIcon;
    int m_mousePointer = DefaultPointer;
    Qt::MouseButtons m_buttonsDown; // pressed on the click surface and not yet released
};

// Whether the widget with the keyboard focus is a key control, which reports every key it gets,
// lock keys too.
bool keyControlHasFocus();
