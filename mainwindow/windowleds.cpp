#include "mainwindow/windowleds.h"

#include "keycontrol/speedslider.h"
#include "mainwindow/lockdisplay.h"
#include "mainwindow/tastatur.h"
#include "platform/intervaltimer.h"
#include "scripts/lightplayer.h"

namespace {
constexpr int ResetDelay = 100;
}

WindowLeds::WindowLeds(tastatur& window, Keyboard& keyboard, Clock& clock,
                       const QString& noKeyboard)
    : LedService(&window), ui(window.design()), m_keyboard(keyboard), m_noKeyboard(noKeyboard),
      m_player(new LightPlayer(keyboard, clock, this)),
      m_afterReset(new IntervalTimer(clock, this)) {
    connect(&window.lockDisplay(), &LockDisplay::polled, this, &LedService::polled);
    connect(m_player, &LightPlayer::finished, this, [this] { m_playing.clear(); });
    connect(m_afterReset, &IntervalTimer::Timer, this, [this] {
        m_afterReset->setEnabled(false);
        m_player->play(m_waiting);
    });
    // The window's own ways to stop everything end the sequence too.
    const auto stopPlaying = [this] {
        m_afterReset->setEnabled(false);
        m_player->stop();
        m_playing.clear();
    };
    connect(ui.Stop, &QPushButton::clicked, this, stopPlaying);
    connect(ui.mGame, &QAction::triggered, this, stopPlaying);
}

void WindowLeds::startEffect(const EffectCall& call) {
    stopRunning();
    ui.Combo1->setCurrentIndex(static_cast<int>(call.effect));
    ui.EffectSpeed->setValue(call.speedMs);
    ui.StartEff->click();
}

void WindowLeds::playLights(const LightSequence& sequence, const QString& what) {
    const bool resetting = stopRunning();
    m_playing = what;
    if (!resetting) {
        m_player->play(sequence);
        return;
    }
    m_waiting = sequence;
    m_afterReset->setInterval(ResetDelay);
    m_afterReset->setEnabled(true);
}

void WindowLeds::setLockStates(const LockChoice& choice) {
    setLocks(m_keyboard, choice);
}

void WindowLeds::stop() {
    stopRunning();
    emit stopped();
}

bool WindowLeds::stopRunning() {
    m_afterReset->setEnabled(false);
    m_player->stop();
    m_playing.clear();
    if (ui.StartEff->isEnabled())
        return false;
    ui.Stop->click();
    return true;
}

LockStates WindowLeds::lockStates() const {
    return readLocks(m_keyboard);
}

QString WindowLeds::running() const {
    if (!m_playing.isEmpty())
        return m_playing;
    for (int i = 0; i < EffectCount; ++i)
        if (ui.effectTimers()[i]->isEnabled())
            return QStringLiteral("effect ") + EffectNames[i];
    for (IntervalTimer* timer : {ui.NUMtime, ui.CAPStime, ui.SCROLLtime})
        if (timer->isEnabled())
            return QStringLiteral("blink");
    return {};
}
