#include "lockkeys/exitcleanup.h"

#include "lockkeys/modsync.h"
#include "platform/keyboard.h"

#include <cstdlib>
#include <utility>

namespace {
// The one armed cleanup: exit() calls back without any context.
ExitCleanup* armed = nullptr;
} // namespace

ExitCleanup::ExitCleanup(std::unique_ptr<Keyboard>& keyboard) : m_keyboard(keyboard) {
    static const bool registered = std::atexit(&ExitCleanup::atExit) == 0;
    if (registered)
        armed = this;
}

ExitCleanup::~ExitCleanup() {
    if (armed == this)
        armed = nullptr;
}

// The keyboard goes too, so that what it changed on the system is undone.
void ExitCleanup::atExit() {
    if (!armed)
        return;
    ExitCleanup& cleanup = *std::exchange(armed, nullptr);
    if (cleanup.m_keyboard) {
        modSync::TurnOffLitLocks(*cleanup.m_keyboard);
        cleanup.m_keyboard.reset();
    }
}
