#pragma once

#include "lockkeys/lockkey.h"

#include <QIcon>
#include <QImage>

// The window's icon: a key cap with three lamps, the middle one lit.
QIcon windowIcon();

// The same drawing on a square of `size` pixels: drawn for 32 and scaled to fit.
QImage windowIconImage(int size);

// The lock-state icon: the same key cap, each lamp (Num, Caps, Scroll from the left) lit while its
// lock is on; at the sizes a panel or a notification shows.
QIcon lockStateIcon(const LockStates& locks);

QImage lockStateImage(int size, const LockStates& locks);
