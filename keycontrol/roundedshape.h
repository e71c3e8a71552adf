#pragma once

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QWidget>

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
    // covers its whole rectangle, and a change of its fill repaints the shape alone.
    void setGround(const QColor& ground);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPen outlinePen() const;
    void draw(QPainter& painter) const;

    QColor m_fill;
    QColor m_ground; // invalid: none
    Outline m_outline;
    QHash<QRgb, QPixmap> m_looks; // drawn so far on the ground, by fill colour
};
