#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>

// The stored properties of one key, as its container's design data holds them. A member left at
// its default stands for an entry missing from the store.
struct TasteProperties {
    QCursor mouseIcon;    // the custom pointer; used while mousePointer is 99
    int mousePointer = 0; // 0: the default pointer
    QFont font;           // a default QFont sets nothing, so the key keeps the container's font
    QString caption = QStringLiteral("Text");
    QColor foreColor;     // invalid: the system button-text colour
    bool enabled = false; // a missing entry reads as empty, which is false
    bool ledVisible = false;
};

// A pointing hand, 32 x 32 pixels, with the hot spot on the fingertip at (5, 0).
QCursor pointingHandCursor();

// What the main window stores for each of its six keys; they differ only in the caption.
TasteProperties mainWindowKeyProperties(const QString& caption);
