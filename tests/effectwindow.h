#pragma once

#include "lockkeylog.h"
#include "modsync.h"
#include "simulatedkeyboard.h"
#include "speedslider.h"
#include "tastatur.h"
#include "virtualclock.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

inline const QString N = "{NUMLOCK}", C = "{CAPSLOCK}", S = "{SCROLLOCK}";

// The main window on a simulated keyboard and virtual time, past its start-up reset, with
// every LED dark and no key event recorded yet.
struct EffectWindow {
    SimulatedKeyboard keyboard;
    VirtualClock clock;
    tastatur window{keyboard, clock};
    const tastaturDesign& ui = window.design();

    EffectWindow() {
        clock.advance(100);
        keyboard.clearEvents();
    }

    // Needed for real mouse and key events.
    bool show() {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }

    // The lock toggles sent once `ms` more have passed; any sent sooner than that come first,
    // after an "early" mark.
    QStringList sentAfter(int ms) {
        clock.advance(ms - 1);
        QStringList sent = lockToggles(keyboard.events());
        if (!sent.isEmpty())
            sent.prepend("early");
        keyboard.clearEvents();
        clock.advance(1);
        sent += lockToggles(keyboard.events());
        keyboard.clearEvents();
        return sent;
    }

    // The lit LEDs, as "Num Caps Scroll", or "none".
    QString lit() const {
        QStringList names;
        const char* name[] = {"Num", "Caps", "Scroll"};
        for (LockKey key : AllLockKeys)
            if (modSync::IsLockOn(keyboard, key))
                names << name[int(key)];
        return names.isEmpty() ? "none" : names.join(' ');
    }

    void light(LockKey key) { keyboard.setToggled(info(key).keyCode, true); }

    void startEffect(int listIndex, int speed) {
        ui.Combo1->setCurrentIndex(listIndex);
        ui.EffectSpeed->setValue(speed);
        ui.StartEff->click();
    }

    // The enabled state of Combo1, StartEff, NumSpeed, CapsSpeed, ScrollSpeed and EffectSpeed,
    // as 1 for enabled and 0 for disabled.
    QString controls() const {
        QString states;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui.Combo1, ui.StartEff, ui.NumSpeed, ui.CapsSpeed, ui.ScrollSpeed, ui.EffectSpeed})
            states += control->isEnabled() ? '1' : '0';
        return states;
    }
};
