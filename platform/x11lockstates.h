#pragma once

#include <array>
#include <bitset>

struct _XDisplay;
union _XEvent;

// The three lock keys as an X server tells of them: which of their XKB indicators ("Num Lock",
// "Caps Lock", "Scroll Lock") is lit, and which lock key is held down. Followed from the
// server's notifications, so that reading them costs no round trip.
class X11LockStates {
public:
    // Asks `display` for the notifications, and reads which lock keys are held; the
    // indicators are read by readIndicators().
    void follow(_XDisplay* display);

    // Takes in one notification of those asked for; false for any other event.
    bool take(const _XEvent& event, int xkbEventBase);

    // The indicators' places, which a keymap change may move, and their states.
    void readIndicators();

    // By virtual-key code; false for any other key.
    bool lit(int lockKey) const;
    // By X key.
    bool held(unsigned char xKey) const { return m_lockKeysDown[xKey]; }

    // Every X key held down, as the server is asked.
    std::bitset<256> keysDown() const;

private:
    _XDisplay* m_display = nullptr;
    std::array<unsigned long, 3> m_indicators{}; // atoms, in the order Num, Caps, Scroll
    std::array<int, 3> m_places{-1, -1, -1};     // in m_lit; -1 for none
    unsigned m_lit = 0;                          // as last told by the server
    std::bitset<256> m_lockKeysDown;             // by X key, as last told by the server
};
