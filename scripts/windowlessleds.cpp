#include "scripts/windowlessleds.h"

#include "effects/effectpatterns.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"
#include "scripts/lightplayer.h"

namespace {
constexpr int PollInterval = 50;
}

WindowlessLeds::WindowlessLeds(Keyboard& keyboard, Clock& clock, QObject* parent)
    : LedService(parent), m_keyboard(keyboard),
      m_poll(new IntervalTimer(clock, this, Timing::Loose)),
      m_player(new LightPlayer(keyboard, clock, this)) {
    for (IntervalTimer*& timer : m_timers)
        timer = new IntervalTimer(clock, this);
    m_patterns = new EffectPatterns(
        keyboard, m_state, m_timers, [this] { return m_speed; }, this);
    connect(m_poll, &IntervalTimer::Timer, this, [this] { emit polled(lockStates()); });
    connect(m_player, &LightPlayer::finished, this, [this] {
        m_playing.clear();
        emit finished();
    });
}

WindowlessLeds::~WindowlessLeds() {
    endWhatRuns();
}

void WindowlessLeds::startPolling() {
    m_poll->setInterval(PollInterval);
    m_poll->setEnabled(true);
}

// The effects show their pictures only when they start on three dark LEDs.
void WindowlessLeds::startEffect(const EffectCall& call) {
    endWhatRuns();
    m_found = readLocks(m_keyboard);
    modSync::TurnOffLitLocks(m_keyboard);
    m_effect = call.effect;
    m_speed = call.speedMs;
    IntervalTimer& timer = m_patterns->timer(call.effect);
    timer.setInterval(EffectPatterns::followsSpeed(call.effect) ? m_speed : SpeedupSlowest);
    timer.setEnabled(true);
}

void WindowlessLeds::playLights(const LightSequence& sequence, const QString& what) {
    endWhatRuns();
    m_playing = what;
    m_player->play(sequence);
}

void WindowlessLeds::setLockStates(const LockChoice& choice) {
    setLocks(m_keyboard, choice);
}

void WindowlessLeds::stop() {
    if (endWhatRuns())
        emit finished();
}

bool WindowlessLeds::endWhatRuns() {
    const bool ran = !running().isEmpty();
    m_player->stop();
    m_playing.clear();
    if (m_effect) {
        m_patterns->timer(*std::exchange(m_effect, std::nullopt)).setEnabled(false);
        m_state = {};
        setLocks(m_keyboard, choiceOf(m_found));
    }
    return ran;
}

LockStates WindowlessLeds::lockStates() const {
    return readLocks(m_keyboard);
}

QString WindowlessLeds::running() const {
    if (m_effect)
        return QStringLiteral("effect ") + EffectNames[static_cast<int>(*m_effect)];
    return m_playing;
}
