#pragma once

#include <QIcon>

// The window's icon: a key cap with three lamps, one of them lit.
QIcon windowIcon();
