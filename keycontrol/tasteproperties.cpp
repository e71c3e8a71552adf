#include "tasteproperties.h"

#include "taste.h"

#include <QPixmap>

#include "pointinghand.xpm"

QCursor pointingHandCursor() {
    return QCursor(QPixmap(pointinghand_xpm), 5, 0);
}

TasteProperties mainWindowKeyProperties(const QString& caption) {
    TasteProperties properties;
    properties.mouseIcon = pointingHandCursor();
    properties.mousePointer = Taste::CustomPointer;
    // fontconfig stands in a metric-compatible face (Liberation Sans) where Arial is missing.
    properties.font = QFont(QStringLiteral("Arial"));
    properties.font.setPointSizeF(9.75);
    properties.font.setWeight(QFont::Normal);
    properties.font.setItalic(false);
    properties.font.setUnderline(false);
    properties.font.setStrikeOut(false);
    properties.caption = caption;
    properties.enabled = true;
    properties.ledVisible = true;
    return properties;
}
