#pragma once

#include "speedslider.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

// Where a part of a slider is drawn: its arrows (SC_ScrollBarSubLine at the top or left end,
// SC_ScrollBarAddLine at the other), the trough before and after the thumb (SubPage, AddPage)
// and the thumb (SC_ScrollBarSlider).
inline QRect partOf(const SpeedSlider& slider, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider.orientation();
    if (slider.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.upsideDown = slider.invertedAppearance();
    return slider.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &slider);
}

// Presses the thumb, moves it in small steps to `to`, calling `during` after each step, and
// releases it there.
template <typename During> void dragThumb(SpeedSlider& slider, QPoint to, During during) {
    const QPoint from = partOf(slider, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 8; ++step) {
        QTest::mouseMove(&slider, from + (to - from) * step / 8);
        during();
    }
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, to);
}
