#include "lockkeys/modsync.h"
#include "tests/recordingkeyboard.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "SendKeyString broke an invariant: %s\n", invariant);
        std::abort();
    }
}

// Sends `keys` on a keyboard whose three lock keys start all lit or all dark, checks what must
// hold for any text, and gives the events sent.
std::vector<KeyEvent> sendAndCheck(std::string_view keys, bool lit) {
    RecordingKeyboard keyboard;
    for (LockKey key : AllLockKeys)
        keyboard.setToggled(info(key).keyCode, lit);
    modSync::SendKeyString(keyboard, keys);

    std::array<int, 256> down{};
    std::array<int, 256> presses{};
    for (const KeyEvent& e : keyboard.events()) {
        require(e.scanCode == 1 && e.extraInfo == 0, "scan code 1 and no extra information");
        require(e.flags == 0 || e.flags == KeyEventFlag::KeyUp, "a plain press or release");
        const bool press = e.flags == 0;
        down[e.keyCode] += press ? 1 : -1;
        presses[e.keyCode] += press;
        require(down[e.keyCode] >= 0, "no release before its press");
    }
    for (int code = 0; code < 256; ++code)
        require(down[code] == 0 && !(keyboard.keyState(code) & KeyStateBit::Held),
                "every press released");
    for (LockKey key : AllLockKeys)
        require(modSync::IsLockOn(keyboard, key) == (lit != (presses[info(key).keyCode] % 2 == 1)),
                "each lock key toggled once per press");
    return keyboard.events();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that a read one past its end is caught.
    const std::unique_ptr<char[]> copy(new char[size]);
    std::copy_n(data, size, copy.get());
    const std::string_view keys(copy.get(), size);
    require(sendAndCheck(keys, false) == sendAndCheck(keys, true),
            "the same events for the same text, whatever the lock states");
    return 0;
}
