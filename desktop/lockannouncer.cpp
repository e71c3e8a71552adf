#include "desktop/lockannouncer.h"

#include "desktop/lockstatetext.h"
#include "mainwindow/windowicon.h"
#include "platform/clock.h"
#include "platform/notifications.h"

#include <QPointer>
#include <QStringList>

namespace {
constexpr int PatienceMs = 1000;
constexpr int ImageSize = 64;
} // namespace

LockAnnouncer::LockAnnouncer(Notifications& notifications, Clock& clock, QObject* parent)
    : QObject(parent), m_notifications(notifications) {
    for (std::size_t i = 0; i < m_patience.size(); ++i)
        m_patience[i] = clock.createCountdown(
            [this, i] {
                m_owed[i] = false;
                m_patience[i]->cancel();
            },
            Timing::Loose);
}

LockAnnouncer::~LockAnnouncer() = default;

void LockAnnouncer::ownPress(LockKey key) {
    const auto i = static_cast<std::size_t>(key);
    // Two presses before a poll cancel out: the poll sees no change to pay for.
    m_owed[i] = !m_owed[i];
    m_patience[i]->restart(PatienceMs);
}

void LockAnnouncer::lockStatesChanged(const LockStates& locks) {
    const std::optional<LockStates> seen = std::exchange(m_seen, locks);
    if (!seen)
        return;
    QStringList changes;
    for (std::size_t i = 0; i < locks.size(); ++i) {
        if (locks[i] == (*seen)[i])
            continue;
        if (std::exchange(m_owed[i], false)) {
            m_patience[i]->cancel();
            continue;
        }
        changes << lockStateText(AllLockKeys[i], locks[i]);
    }
    if (!m_enabled || changes.isEmpty())
        return;
    m_notifications.notify({changes.join(", "), lockStateImage(ImageSize, locks), m_lastId},
                           [self = QPointer(this)](quint32 id) {
                               if (self)
                                   self->m_lastId = id;
                           });
}
