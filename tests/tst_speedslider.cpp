#include "effectwindow.h"

#include <QMenu>
#include <QSignalSpy>

// The speed sliders driven by real mouse and key events: NumSpeed, CapsSpeed and ScrollSpeed run
// from 100 at the top to 5000 at the bottom, EffectSpeed from 5000 at the left to 100 at the right.
class SpeedSliderTest : public QObject {
    Q_OBJECT

    static SpeedSlider* slider(EffectWindow& w, int index) {
        return std::array{w.ui.NumSpeed, w.ui.CapsSpeed, w.ui.ScrollSpeed, w.ui.EffectSpeed}[index];
    }

private slots:
    // From the middle and from either end, a key, or a click with any button on an arrow or in
    // the trough, moves the value by 1 the way it points, or not at all at the end it points to.
    // A change takes effect at once: the key blinks, or "All" ticks, one new interval later.
    void steps_data() {
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("button"); // 0 for a key
        QTest::addColumn<int>("input");  // the key, or the part clicked
        QTest::addColumn<int>("value");
        using enum QStyle::SubControl;
        const int L = Qt::LeftButton, M = Qt::MiddleButton, R = Qt::RightButton;
        using K = Qt::Key;
        struct Row {
            int start, button, input, value;
        };
        // The arrow and the trough part at the top or left end are "first", the others "last".
        const std::vector<Row> vertical{
            {1000, L, SC_ScrollBarAddPage, 1001}, {1000, M, SC_ScrollBarAddPage, 1001},
            {1000, R, SC_ScrollBarSubPage, 999},  {1000, L, SC_ScrollBarSubLine, 999},
            {1000, 0, K::Key_Down, 1001},         {1000, 0, K::Key_Up, 999},
            {1000, 0, K::Key_PageDown, 1001},     {1000, 0, K::Key_PageUp, 999},
            {1000, 0, K::Key_Home, 100},          {1000, 0, K::Key_End, 5000},
            {100, L, SC_ScrollBarSubLine, 100},   {100, L, SC_ScrollBarAddLine, 101},
            {100, M, SC_ScrollBarAddPage, 101},   {100, 0, K::Key_Up, 100},
            {100, 0, K::Key_Home, 100},           {100, 0, K::Key_PageDown, 101},
            {5000, L, SC_ScrollBarAddLine, 5000}, {5000, R, SC_ScrollBarSubLine, 4999},
            {5000, L, SC_ScrollBarSubPage, 4999}, {5000, 0, K::Key_Down, 5000},
            {5000, 0, K::Key_End, 5000},          {5000, 0, K::Key_Up, 4999}};
        const std::vector<Row> horizontal{
            {1000, M, SC_ScrollBarSubPage, 1001}, {1000, L, SC_ScrollBarAddPage, 999},
            {1000, R, SC_ScrollBarAddLine, 999},  {1000, 0, K::Key_Left, 1001},
            {1000, 0, K::Key_Right, 999},         {1000, 0, K::Key_PageUp, 1001},
            {1000, 0, K::Key_PageDown, 999},      {1000, 0, K::Key_Home, 5000},
            {1000, 0, K::Key_End, 100},           {100, L, SC_ScrollBarAddLine, 100},
            {100, L, SC_ScrollBarSubLine, 101},   {100, M, SC_ScrollBarSubPage, 101},
            {100, 0, K::Key_Right, 100},          {100, 0, K::Key_End, 100},
            {100, 0, K::Key_PageUp, 101},         {5000, L, SC_ScrollBarSubLine, 5000},
            {5000, R, SC_ScrollBarAddLine, 4999}, {5000, L, SC_ScrollBarAddPage, 4999},
            {5000, 0, K::Key_Left, 5000},         {5000, 0, K::Key_Home, 5000},
            {5000, 0, K::Key_Right, 4999}};
        const QMap<int, const char*> parts{{SC_ScrollBarSubLine, "first arrow"},
                                           {SC_ScrollBarSubPage, "first trough"},
                                           {SC_ScrollBarAddPage, "last trough"},
                                           {SC_ScrollBarAddLine, "last arrow"}};
        const char* names[] = {"Num", "Caps", "Scroll", "Effect"};
        for (int s = 0; s < 4; ++s)
            for (const Row& r : s < 3 ? vertical : horizontal)
                QTest::addRow(
                    "%s from %d, %s", names[s], r.start,
                    r.button
                        ? qPrintable(QString("%1 %2").arg("?LR?M"[r.button]).arg(parts[r.input]))
                        : qPrintable(QKeySequence(r.input).toString()))
                    << s << r.start << r.button << r.input << r.value;
    }

    void steps() {
        QFETCH(int, slider);
        QFETCH(int, start);
        QFETCH(int, button);
        QFETCH(int, input);
        QFETCH(int, value);
        EffectWindow w;
        SpeedSlider* s = SpeedSliderTest::slider(w, slider);
        if (slider == 3)
            w.startEffect(0, start);
        else
            s->setValue(start);
        QSignalSpy changes(s, &SpeedSlider::Change);
        if (button)
            QTest::mouseClick(s, Qt::MouseButton(button), {},
                              partOf(*s, QStyle::SubControl(input)));
        else
            QTest::keyClick(s, Qt::Key(input));
        QCOMPARE(s->value(), value);
        QCOMPARE(changes.count(), value == start ? 0 : 1);
        const QString keys = slider == 3 ? "NCS" : QString("NCS"[slider]);
        QCOMPARE(w.after(value), keys + '/' + keys);
    }

    void fiftyLeftClicksFromTheFastestEndSlowAnEffectTo150() {
        EffectWindow w;
        w.startEffect(0, 100);
        const QPoint leftArrow = partOf(*w.ui.EffectSpeed, QStyle::SC_ScrollBarSubLine);
        for (int i = 0; i < 50; ++i)
            QTest::mouseClick(w.ui.EffectSpeed, Qt::LeftButton, {}, leftArrow);
        QCOMPARE(w.ui.EffectSpeed->value(), 150);
        w.play("NCS/NCS NCS/- NCS/NCS", 150);
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

    // EffectSpeed's thumb, "All" running at 1000, dragged to the 100 end, where its release is
    // lost: the drag ends there and applies. The left arrow key then steps to 101, which applies
    // at once, and a release coming late changes nothing.
    void lostReleaseEndsThePress_data() {
        QTest::addColumn<int>("cut");
        QTest::newRow("a menu pops up") << 0;
        QTest::newRow("another window becomes active") << 1;
        QTest::newRow("its panel is hidden") << 2;
        QTest::newRow("the slider is disabled") << 3;
        QTest::newRow("a new press, on the right arrow") << 4;
    }

    void lostReleaseEndsThePress() {
        QFETCH(int, cut);
        EffectWindow w;
        SpeedSlider* slider = w.ui.EffectSpeed;
        w.startEffect(0, 1000);
        QSignalSpy changes(slider, &SpeedSlider::Change);
        const QPoint thumb = partOf(*slider, QStyle::SC_ScrollBarSlider);
        QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(slider, thumb + QPoint(500, 0));
        QWidget other;
        if (cut == 0) {
            w.ui.mMode->popup({0, 0});
            w.ui.mMode->close();
        } else if (cut == 1) {
            other.show();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else if (cut == 2) {
            w.ui.Modeeff->hide();
            w.ui.Modeeff->show();
        } else if (cut == 3) {
            slider->setEnabled(false);
            slider->setEnabled(true);
        } else {
            QTest::mouseClick(slider, Qt::LeftButton, {},
                              partOf(*slider, QStyle::SC_ScrollBarAddLine));
        }
        QCOMPARE(changes.count(), 1);
        QTest::keyClick(slider, Qt::Key_Left);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb);
        QVERIFY(!slider->isSliderDown());
        QCOMPARE(slider->value(), 101);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(w.after(101), "NCS/NCS");
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "tst_speedslider.moc"
