#include "mainwindow/lockdisplay.h"

#include "keycontrol/taste.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

#include <QLabel>
#include <QStringList>

namespace {

const char* const LockNames[] = {"Num Lock", "Caps Lock", "Scroll Lock"};

} // namespace

LockDisplay::LockDisplay(Keyboard& keyboard, IntervalTimer& Timer1, std::array<Taste*, 3> keys,
                         QLabel& notice, QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_keys(keys), m_notice(notice) {
    connect(&Timer1, &IntervalTimer::Timer, this, &LockDisplay::Timer1_Timer);
    connect(m_keys[0], &Taste::MouseDown, this, &LockDisplay::Taste1_MouseDown);
    connect(m_keys[1], &Taste::Click, this, &LockDisplay::Taste2_Click);
    connect(m_keys[2], &Taste::Click, this, &LockDisplay::Taste3_Click);
}

void LockDisplay::Timer1_Timer() {
    showReach();
    LockStates locks{};
    for (std::size_t i = 0; i < AllLockKeys.size(); ++i) {
        locks[i] = modSync::IsLockOn(m_keyboard, AllLockKeys[i]);
        m_keys[i]->LedOn(locks[i]);
    }
    emit polled(locks);
    if (m_shown != locks) {
        m_shown = locks;
        emit lockStatesChanged(locks);
    }
}

// What the keyboard can reach may change as it learns how the desktop keeps its locks; the
// controls change only when it does.
void LockDisplay::showReach() {
    LockStates reach{};
    for (std::size_t i = 0; i < AllLockKeys.size(); ++i)
        reach[i] = m_keyboard.canShowLock(info(AllLockKeys[i]).keyCode);
    if (reach == m_reach)
        return;
    m_reach = reach;
    QStringList unshown;
    for (std::size_t i = 0; i < AllLockKeys.size(); ++i) {
        const QString name = QString::fromLatin1(LockNames[i]);
        if (!reach[i])
            unshown << name;
        m_keys[i]->setEnabled(reach[i]);
        m_keys[i]->setToolTip(
            reach[i]
                ? QString()
                : tr("%1 cannot be shown on this desktop: its key changes no LED here.").arg(name));
    }
    m_notice.setText(unshown.isEmpty()
                         ? QString()
                         : tr("%1 cannot be shown on this desktop.")
                               .arg(unshown.size() == 1
                                        ? unshown.first()
                                        : unshown.sliced(0, unshown.size() - 1).join(", ") +
                                              tr(" and ") + unshown.last()));
    m_notice.setVisible(!unshown.isEmpty());
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
