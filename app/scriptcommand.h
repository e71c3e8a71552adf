#pragma once

#include <optional>

class Clock;
class DesktopSignals;
class Keyboard;
class QString;
class tastatur;

// With arguments, runs the command they name without a window and gives its exit status; none
// when there are none, or only the desktop options, and the window is to be shown. --help and
// --version need no display.
std::optional<int> runScriptCommand(int& argc, char** argv);

// Offers the window to scripts under the program's name on the session bus, when there is one
// and no other copy holds the name; their Stop ends the desktop's blinking too. `unreachable`
// says why the keyboard cannot reach the LEDs.
void offerToScripts(tastatur& window, Keyboard& keyboard, Clock& clock, const QString& unreachable,
                    DesktopSignals& desktop);
