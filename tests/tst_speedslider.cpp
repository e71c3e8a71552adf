#include "effectwindow.h"

#include <QSignalSpy>

// The speed sliders driven by real mouse and key events: NumSpeed runs from 100 at the top to
// 5000 at the bottom, EffectSpeed from 5000 at the left to 100 at the right.
class SpeedSliderTest : public QObject {
    Q_OBJECT

private slots:
    // From 1000, a key, a click on an arrow or one in the trough with any button moves the value
    // by 1 the way it points, and the change takes effect at once: Num blinks at the new value,
    // "All", started at 1000 just before, ticks first at the new value.
    void stepsByOne_data() {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<int>("button"); // 0 for a key
        QTest::addColumn<int>("input");  // the key, or the part clicked
        QTest::addColumn<int>("value");
        using enum QStyle::SubControl;
        const int L = Qt::LeftButton, M = Qt::MiddleButton, R = Qt::RightButton;
        QTest::newRow("Num trough below") << false << L << int(SC_ScrollBarAddPage) << 1001;
        QTest::newRow("Num trough below, middle") << false << M << int(SC_ScrollBarAddPage) << 1001;
        QTest::newRow("Num trough above, right") << false << R << int(SC_ScrollBarSubPage) << 999;
        QTest::newRow("Num top arrow") << false << L << int(SC_ScrollBarSubLine) << 999;
        QTest::newRow("Effect trough left, mid") << true << M << int(SC_ScrollBarSubPage) << 1001;
        QTest::newRow("Effect trough right") << true << L << int(SC_ScrollBarAddPage) << 999;
        QTest::newRow("Effect right arrow, right") << true << R << int(SC_ScrollBarAddLine) << 999;
        const std::tuple<bool, Qt::Key, int> keys[] = {
            {false, Qt::Key_Down, 1001},     {false, Qt::Key_Up, 999},
            {false, Qt::Key_PageDown, 1001}, {false, Qt::Key_PageUp, 999},
            {false, Qt::Key_Home, 100},      {false, Qt::Key_End, 5000},
            {true, Qt::Key_Left, 1001},      {true, Qt::Key_Right, 999},
            {true, Qt::Key_PageUp, 1001},    {true, Qt::Key_PageDown, 999},
            {true, Qt::Key_Home, 5000},      {true, Qt::Key_End, 100}};
        for (auto [effect, key, value] : keys)
            QTest::addRow("%s %s", effect ? "Effect" : "Num",
                          qPrintable(QKeySequence(key).toString()))
                << effect << 0 << int(key) << value;
    }

    void stepsByOne() {
        QFETCH(bool, effect);
        QFETCH(int, button);
        QFETCH(int, input);
        QFETCH(int, value);
        EffectWindow w;
        SpeedSlider* slider = effect ? w.ui.EffectSpeed : w.ui.NumSpeed;
        if (effect)
            w.startEffect(0, 1000);
        if (button)
            QTest::mouseClick(slider, Qt::MouseButton(button), {},
                              partOf(*slider, QStyle::SubControl(input)));
        else
            QTest::keyClick(slider, Qt::Key(input));
        QCOMPARE(slider->value(), value);
        QCOMPARE(w.after(value), effect ? "NCS/NCS" : "N/N");
    }

    // The thumb dragged to the 100 end and held there: Change does not run, yet a running effect
    // takes up the new value from its next tick on. The release, 50 ms later, runs Change once.
    void dragRunsChangeOnRelease_data() {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<QString>("ticks"); // while held | after the release
        QTest::newRow("NumSpeed") << false << "1200:-/- | 100:N/N";
        QTest::newRow("EffectSpeed, All at 1000")
            << true << "1000:NCS/NCS 100:NCS/- 100:NCS/NCS | 100:NSCNCS/NCS";
    }

    void dragRunsChangeOnRelease() {
        QFETCH(bool, effect);
        QFETCH(QString, ticks);
        EffectWindow w;
        SpeedSlider* slider = effect ? w.ui.EffectSpeed : w.ui.NumSpeed;
        if (effect)
            w.startEffect(0, 1000);
        QSignalSpy changes(slider, &SpeedSlider::Change);
        const QPoint thumb = partOf(*slider, QStyle::SC_ScrollBarSlider);
        const QPoint end = thumb + (effect ? QPoint(500, 0) : QPoint(0, -500));
        // The wheel changes nothing, nor does another button while the thumb is held.
        QWheelEvent wheel(thumb, slider->mapToGlobal(thumb), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        QCOMPARE(slider->value(), 1000);
        QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(slider, end);
        QTest::mouseClick(slider, Qt::RightButton, {}, end);
        QVERIFY(slider->isSliderDown());
        QCOMPARE(slider->value(), 100);
        w.play(ticks.section(" | ", 0, 0));
        w.clock.advance(50);
        QCOMPARE(changes.count(), 0);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, end);
        QCOMPARE(changes.count(), 1);
        w.play(ticks.section(" | ", 1));
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "tst_speedslider.moc"
