#include "effects/effectcontrol.h"

#include "effects/controlstates.h"
#include "effects/keyblinking.h"
#include "keycontrol/speedslider.h"
#include "lockkeys/lockreset.h"
#include "platform/intervaltimer.h"

#include <QComboBox>
#include <QPushButton>

namespace {
constexpr Effect StopOrder[] = {Effect::All,     Effect::Run,        Effect::TrafficLight,
                                Effect::Walk,    Effect::RockYou,    Effect::Landing,
                                Effect::Speedup, Effect::KnightRider};
} // namespace

EffectControl::EffectControl(Keyboard& keyboard, const EffectPanel& panel, LockReset& reset,
                             ControlStates& controls, KeyBlinking& blinking, QObject* parent)
    : QObject(parent), m_panel(panel), m_reset(reset), m_controls(controls), m_blinking(blinking),
      m_patterns(keyboard, m_state, panel.timers,
                 [slider = panel.EffectSpeed] { return slider->value(); }) {
    connect(m_panel.StartEff, &QPushButton::clicked, this, &EffectControl::StartEff_Click);
    connect(m_panel.Stop, &QPushButton::clicked, this, &EffectControl::Stop_Click);
    connect(m_panel.EffectSpeed, &SpeedSlider::Change, this, &EffectControl::EffectSpeed_Change);
}

void EffectControl::StartEff_Click() {
    if (const std::optional<Effect> effect = selectedEffect())
        startEffect(*effect, false);
}

// With nothing running the new value waits for the next start. While an effect runs the list
// is locked, so its selection names the running effect.
void EffectControl::EffectSpeed_Change() {
    if (m_panel.StartEff->isEnabled())
        return;
    if (const std::optional<Effect> effect = selectedEffect())
        startEffect(*effect, true);
}

// Setting the sliders may run their change handlers, which lock controls and restart timers;
// the steps after undo all that, so the end state is the same whether they ran or not.
void EffectControl::Stop_Click() {
    m_blinking.setDefaultSpeeds();
    m_panel.EffectSpeed->setValue(DefaultEffectSpeed);
    m_controls.Enable();
    m_blinking.stopBlinking();
    for (Effect effect : StopOrder)
        m_patterns.timer(effect).setEnabled(false);
    m_state = {};
    m_reset.Reset();
}

// The reset is armed before the effect's timer, so at 100 ms it turns the LEDs dark before the
// first tick. A restart disables the timer first, so the countdown begins anew.
void EffectControl::startEffect(Effect effect, bool restart) {
    const bool followsSpeed = EffectPatterns::followsSpeed(effect);
    m_controls.Disable();
    m_controls.DisableSpeeds();
    if (!followsSpeed)
        m_panel.EffectSpeed->setEnabled(false);
    m_reset.Reset();
    IntervalTimer& timer = m_patterns.timer(effect);
    if (restart)
        timer.setEnabled(false);
    timer.setInterval(followsSpeed ? m_panel.EffectSpeed->value() : SpeedupSlowest);
    timer.setEnabled(true);
}

// None when no entry is selected.
std::optional<Effect> EffectControl::selectedEffect() const {
    const int index = m_panel.Combo1->currentIndex();
    if (index < 0 || index >= EffectCount)
        return std::nullopt;
    return static_cast<Effect>(index);
}
