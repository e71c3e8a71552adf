#pragma once

#include <QIcon>
#include <QImage>

// The window's icon: a key cap with three lamps, one of them lit.
QIcon windowIcon();

// The same drawing on a square of `size` pixels: drawn for 32 and scaled to fit.
QImage windowIconImage(int size);
