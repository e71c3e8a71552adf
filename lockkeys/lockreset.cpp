#include "lockkeys/lockreset.h"

#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

LockReset::LockReset(Keyboard& keyboard, IntervalTimer& resetime, QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_resetime(resetime) {
    connect(&m_resetime, &IntervalTimer::Timer, this, &LockReset::resetime_Timer);
}

void LockReset::Reset() {
    m_resetime.setInterval(100);
    m_resetime.setEnabled(true);
}

void LockReset::turnOffLitLocks() {
    modSync::TurnOffLitLocks(m_keyboard);
}

void LockReset::resetime_Timer() {
    turnOffLitLocks();
    m_resetime.setEnabled(false);
}
