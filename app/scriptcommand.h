#pragma once

#include <optional>

class DesktopSignals;
class WindowLeds;

// With arguments, runs the command they name without a window and gives its exit status; none
// when there are none, or only the desktop options, and the window is to be shown. --help and
// --version need no display.
std::optional<int> runScriptCommand(int& argc, char** argv);

// Offers the window's LEDs to scripts under the program's name on the session bus, when there is
// one and no other copy holds the name; their Stop ends the desktop's blinking too.
void offerToScripts(WindowLeds& leds, DesktopSignals& desktop);
