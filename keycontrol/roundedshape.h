#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QWidget>

#include <memory>

class NativeLamp;

// A filled rounded rectangle filling the whole widget, one of the drawn parts of a key. It takes
// no pointer input, so presses fall through to whatever lies below it.
class RoundedShape : public QWidget {
    Q_OBJECT

public:
    enum class Outline {
        None,
        Black,
        WindowText, // the palette's window-text colour
    };

    RoundedShape(const QColor& fill, Outline outline, QWidget* parent);

    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor& color);

    // Drawn on a ground of this colour instead of over whatever lies below: the shape then
    // covers its whole rectangle, and a change of its fill repaints the shape alone. On an X11
    // display the X server shows it by itself (see NativeLamp), and a change of its fill
    // repaints nothing at all.
    void setGround(const QColor& ground);

    ~RoundedShape() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPen outlinePen() const;
    void draw(QPainter& painter) const;
    const QImage& look();
    void placeNativeLamp();

    QColor m_fill;
    QColor m_ground; // invalid: none
    Outline m_outline;
    QHash<QRgb, QImage> m_looks;          // drawn so far on the ground, by fill colour
    std::unique_ptr<NativeLamp> m_native; // once shown on the ground, where the display has one
};
