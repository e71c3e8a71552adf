#pragma once

#include <memory>

class Keyboard;

// Leaves the keyboard clean when the program is ended by exit() from inside the toolkit, where
// no destructor of main's runs: Qt ends it that way when its own X connection breaks (the window
// killed by xkill), while the keyboard's own connection still serves. Armed while it lives; an
// ordinary return from main ends it first and nothing more is done.
class ExitCleanup {
public:
    explicit ExitCleanup(std::unique_ptr<Keyboard>& keyboard);
    ~ExitCleanup();

    ExitCleanup(const ExitCleanup&) = delete;
    ExitCleanup& operator=(const ExitCleanup&) = delete;

private:
    static void atExit();

    std::unique_ptr<Keyboard>& m_keyboard;
};
