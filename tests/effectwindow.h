#pragma once

#include "keycontrol/speedslider.h"
#include "lockkeys/modsync.h"
#include "mainwindow/tastatur.h"
#include "platform/virtualclock.h"
#include "tests/lockkeylog.h"
#include "tests/recordingkeyboard.h"
#include "tests/recordinglauncher.h"

#include <QStyleOptionSlider>
#include <QTest>

// The middle of a part of a slider: the thumb (SC_ScrollBarSlider), the trough before or after
// it (SubPage, AddPage), the arrow at the top or left end (SubLine) or at the other (AddLine).
inline QPoint partOf(const QScrollBar& slider, QStyle::SubControl part) {
    struct Open : QScrollBar {
        using QScrollBar::initStyleOption;
    };
    QStyleOptionSlider option;
    (slider.*&Open::initStyleOption)(&option);
    return slider.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &slider).center();
}

// The main window, shown, on a simulated keyboard and virtual time, past its start-up reset with
// every LED dark. Lock keys are written by their initials N, C and S; "-" stands for none.
struct EffectWindow {
    RecordingKeyboard keyboard;
    VirtualClock clock;
    RecordingLauncher launcher;
    tastatur window{keyboard, clock, launcher};
    const tastaturDesign& ui = window.design();

    EffectWindow() {
        window.show();
        void(QTest::qWaitForWindowActive(&window)); // the focus tests check it
        clock.advance(100);
        keyboard.clearEvents();
    }

    // The lock keys toggled since the last look.
    QString sent() {
        QString keys;
        for (const QString& toggle : lockToggles(keyboard.events()))
            keys += toggle[1];
        keyboard.clearEvents();
        return keys.isEmpty() ? "-" : keys;
    }

    // "sent/lit" once `ms` more have passed: the lock keys toggled then (those toggled sooner come
    // first, before a '!'), and the LEDs lit.
    QString after(int ms) {
        clock.advance(ms - 1);
        const QString early = sent();
        clock.advance(1);
        QString seen = (early == "-" ? "" : early + '!') + sent() + '/';
        for (LockKey key : AllLockKeys)
            if (modSync::IsLockOn(keyboard, key))
                seen += "NCS"[int(key)];
        return seen.endsWith('/') ? seen + '-' : seen;
    }

    // Checks ticks written "sent/lit" as after() tells them, each one `ms` after the one before,
    // or as long as a "ms:" in front of it says.
    void play(const QString& ticks, int ms = 200) {
        const QStringList list = ticks.split(' ');
        for (int i = 0; i < list.size(); ++i) {
            const int wait = list[i].contains(':') ? list[i].section(':', 0, 0).toInt() : ms;
            QCOMPARE(QString("%1. %2").arg(i + 1).arg(after(wait)),
                     QString("%1. %2").arg(i + 1).arg(list[i].section(':', -1)));
        }
    }

    void startEffect(int listIndex, int speed) {
        ui.Combo1->setCurrentIndex(listIndex);
        ui.EffectSpeed->setValue(speed);
        ui.StartEff->click();
    }

    // Combo1, StartEff, NumSpeed, CapsSpeed, ScrollSpeed and EffectSpeed: 1 enabled, 0 disabled.
    QString controls() const {
        QString states;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui.Combo1, ui.StartEff, ui.NumSpeed, ui.CapsSpeed, ui.ScrollSpeed, ui.EffectSpeed})
            states += control->isEnabled() ? '1' : '0';
        return states;
    }

    // Clicks "Stop all (RESET)" (the toggles before it read already); then tells the controls, the
    // four sliders' values, "early" if a key was toggled within 100 ms, the LEDs lit after 100 ms
    // and the keys toggled over 20 s more.
    QString stop() {
        QTest::mouseClick(ui.Stop, Qt::LeftButton);
        QString state = controls();
        for (QScrollBar* slider : {ui.NumSpeed, ui.CapsSpeed, ui.ScrollSpeed, ui.EffectSpeed})
            state += ' ' + QString::number(slider->value());
        const QString reset = after(100);
        state += (reset.contains('!') ? " early " : " ") + reset.section('/', 1);
        clock.advance(20000);
        return state + ' ' + sent();
    }
};
