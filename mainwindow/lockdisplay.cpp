#include "mainwindow/lockdisplay.h"

#include "keycontrol/taste.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

LockDisplay::LockDisplay(Keyboard& keyboard, IntervalTimer& Timer1, std::array<Taste*, 3> keys,
                         QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_keys(keys) {
    connect(&Timer1, &IntervalTimer::Timer, this, &LockDisplay::Timer1_Timer);
    connect(m_keys[0], &Taste::MouseDown, this, &LockDisplay::Taste1_MouseDown);
    connect(m_keys[1], &Taste::Click, this, &LockDisplay::Taste2_Click);
    connect(m_keys[2], &Taste::Click, this, &LockDisplay::Taste3_Click);
}

void LockDisplay::Timer1_Timer() {
    LockStates locks{};
    for (std::size_t i = 0; i < AllLockKeys.size(); ++i) {
        locks[i] = modSync::IsLockOn(m_keyboard, AllLockKeys[i]);
        m_keys[i]->LedOn(locks[i]);
    }
    if (m_shown != locks) {
        m_shown = locks;
        emit lockStatesChanged(locks);
    }
}

void LockDisplay::Taste1_MouseDown() {
    modSync::Toggle(m_keyboard, LockKey::Num);
}

void LockDisplay::Taste2_Click() {
    modSync::Toggle(m_keyboard, LockKey::Caps);
}

void LockDisplay::Taste3_Click() {
    modSync::Toggle(m_keyboard, LockKey::Scroll);
}
