#include "desktop/notificationfollower.h"

#include "platform/programidentity.h"
#include "scripts/lightplayer.h"

namespace {
// Calls the service never answers (it failed them) are not kept for ever.
constexpr qsizetype MostPending = 64;
} // namespace

bool NotificationRule::matches(const NotifyCall& call) const {
    // The program's own lock announcements never blink an LED.
    if (call.desktopEntry == QLatin1String(ApplicationId) || call.urgency < urgency)
        return false;
    return apps.isEmpty() || apps.contains(call.appName, Qt::CaseInsensitive) ||
           (!call.desktopEntry.isEmpty() && apps.contains(call.desktopEntry, Qt::CaseInsensitive));
}

NotificationFollower::NotificationFollower(const NotificationRule& rule, LightPlayer& player,
                                           const Keyboard& keyboard, QObject* parent)
    : QObject(parent), m_rule(rule), m_player(player), m_keyboard(keyboard) {}

void NotificationFollower::listenTo(const NotificationMonitor& monitor) {
    connect(&monitor, &NotificationMonitor::notifyCalled, this,
            &NotificationFollower::notifyCalled);
    connect(&monitor, &NotificationMonitor::notifyAnswered, this,
            &NotificationFollower::notifyAnswered);
    connect(&monitor, &NotificationMonitor::notificationClosed, this,
            &NotificationFollower::notificationClosed);
}

void NotificationFollower::notifyCalled(const NotifyCall& call) {
    const bool matches = m_rule.matches(call);
    // Nothing is kept of a call that can neither start nor end a blink.
    if (!matches && !m_open.contains(call.replacesId))
        return;
    if (m_pending.size() >= MostPending)
        m_pending.clear();
    m_pending.insert({call.caller, call.serial}, {matches, call.replacesId});
}

void NotificationFollower::notifyAnswered(const QString& caller, quint32 serial, quint32 id) {
    const auto pending = m_pending.constFind({caller, serial});
    if (pending == m_pending.cend())
        return;
    m_open.remove(pending->replacesId);
    if (pending->matches)
        m_open.insert(id);
    else
        m_open.remove(id);
    m_pending.erase(pending);
    update();
}

void NotificationFollower::notificationClosed(quint32 id) {
    if (m_open.remove(id))
        update();
}

void NotificationFollower::stop() {
    m_pending.clear();
    m_open.clear();
    update();
}

void NotificationFollower::update() {
    if (m_open.isEmpty()) {
        m_player.stop();
    } else if (!m_player.isPlaying()) {
        const std::size_t i = indexOf(m_rule.led);
        LockStates led{};
        led[i] = true;
        LightSequence blink = blinkSequence(led, BlinkPeriodMs, 0);
        // The LED changes at once, also when it is lit already.
        if (readLocks(m_keyboard)[i])
            blink.steps.swapItemsAt(0, 1);
        m_player.play(blink);
    }
}
