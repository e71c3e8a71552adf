#pragma once

#include <QString>

// Why no connection to the X display named by DISPLAY can be made, in one line for the user.
QString whyNoX11Display();

// Why the toolkit will not reach its display; empty when it will. Only an X display is checked,
// and only where the toolkit will use one: not with another platform named by QT_QPA_PLATFORM,
// nor in a Wayland session.
QString missingDisplay();
