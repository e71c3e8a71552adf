#pragma once

#include <QString>

// Why no connection to the X display named by DISPLAY can be made, in one line for the user.
QString whyNoX11Display();

// Why the X display named by DISPLAY cannot be opened now; empty when it can.
QString x11DisplayProblem();
