#include "scripts/lightplayer.h"

#include "platform/intervaltimer.h"

LightPlayer::LightPlayer(Keyboard& keyboard, Clock& clock, QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_timer(new IntervalTimer(clock, this)) {
    connect(m_timer, &IntervalTimer::Timer, this, &LightPlayer::showNextStep);
}

LightPlayer::~LightPlayer() = default;

void LightPlayer::play(const LightSequence& sequence) {
    stop();
    if (sequence.steps.isEmpty())
        return;
    m_sequence = sequence;
    const LockStates found = readLocks(m_keyboard);
    for (LockKey key : AllLockKeys) {
        const std::size_t i = indexOf(key);
        m_found[i] = m_sequence.driven[i] ? std::optional(found[i]) : std::nullopt;
    }
    m_step = 0;
    m_round = 1;
    m_playing = true;
    m_timer->setEnabled(true);
    show();
}

void LightPlayer::stop() {
    if (!m_playing)
        return;
    m_playing = false;
    m_timer->setEnabled(false);
    setLocks(m_keyboard, m_found);
}

// Re-armed from its own tick, the countdown counts from the tick's due time: the steps keep
// their lengths without drift.
void LightPlayer::show() {
    const LightStep& step = m_sequence.steps[m_step];
    LockChoice choice;
    for (std::size_t i = 0; i < choice.size(); ++i)
        if (m_sequence.driven[i])
            choice[i] = step.lit[i];
    setLocks(m_keyboard, choice);
    m_timer->setInterval(step.ms);
}

void LightPlayer::showNextStep() {
    if (++m_step == m_sequence.steps.size()) {
        // A sequence shown until stopped counts no rounds.
        if (m_sequence.rounds > 0 && m_round++ == m_sequence.rounds) {
            stop();
            emit finished();
            return;
        }
        m_step = 0;
    }
    show();
}
