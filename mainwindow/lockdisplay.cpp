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
    if (m_shown != locks) {
        m_shown = locks;
        emit lockStatesChanged(locks);
    }
}

// What the keyboard can reach may change as it learns how the desktop keeps its locks.
void LockDisplay::showReach() {
    QStringList unshown;
    for (std::size_t i = 0; i < AllLockKeys.size(); ++i) {
        const bool shown = m_keyboard.canShowLock(info(AllLockKeys[i]).keyCode);
        if (!shown)
            unshown << QString::fromLatin1(LockNames[i]);
        if (m_keys[i]->isEnabled() == shown)
            continue;
        m_keys[i]->setEnabled(shown);
        m_keys[i]->setToolTip(
            shown ? QString()
                  : tr("%1 cannot be shown on this desktop: its key changes no LED here.")
                        .arg(QString::fromLatin1(LockNames[i])));
    }
    const QString text =
        unshown.isEmpty()
            ? QString()
            : tr("%1 cannot be shown on this desktop.")
                  .arg(unshown.size() == 1 ? unshown.first()
                                           : unshown.sliced(0, unshown.size() - 1).join(", ") +
                                                 tr(" and ") + unshown.last());
    if (m_notice.text() != text) {
        m_notice.setText(text);
        m_notice.setVisible(!text.isEmpty());
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
