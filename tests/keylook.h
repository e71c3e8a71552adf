#pragma once

#include "keycontrol/roundedshape.h"
#include "keycontrol/taste.h"

#include <QTest>

// A key control as the user sees and uses it, through the parts its design names (see taste.h).
inline QWidget* keyPart(const Taste* key, const char* name) {
    return key->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

inline QColor lampColor(const Taste* key) {
    return static_cast<RoundedShape*>(keyPart(key, "x"))->fillColor();
}

inline bool lampLit(const Taste* key) {
    return lampColor(key) == QColor(0, 255, 0);
}

inline bool drawnPressed(const Taste* key) {
    return !keyPart(key, "c")->isHidden();
}

// Pointer input as Qt delivers it: to the click surface, at a point given in the key's own
// coordinates, which may lie off the key.
inline void mouseOnKey(Taste* key, QTest::MouseAction action,
                       Qt::MouseButton button = Qt::LeftButton, QPoint at = {20, 20},
                       Qt::KeyboardModifiers modifiers = {}) {
    QWidget* surface = keyPart(key, "LAB1");
    QTest::mouseEvent(action, surface, button, modifiers, surface->mapFrom(key, at));
}
