#pragma once

struct Request;

// Carries out a command from the command line; returns the exit status: 0 done, 1 the keyboard
// or the running copy could not be reached, 2 refused. While another copy owns the program's
// name on the session bus, the command is handed to it, and the command ends with its answer
// (waiting for a pattern, Morse text or counted blinking to end, and stopping after --for).
// Otherwise it runs here without a window, under the name while it runs; without a session bus
// it runs alone. Needs a QCoreApplication and no other.
int runCommand(const Request& request);
