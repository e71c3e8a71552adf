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
    // From the middle and from either end, a key, or a click with any button (L, M, R) on an arrow
    // or in the trough, moves the value by 1 the way it points, or not at all at the end it points
    // to; "first" is the arrow or trough part at the top or left end. A change takes effect at
    // once: the key blinks, or "All" ticks, one new interval later.
    void steps_data() {
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("value");
        // "start, input: value", separated by "; "
        const QStringList vertical =
            QString("1000, L last trough: 1001; 1000, M last trough: 1001; "
                    "1000, R first trough: 999; 1000, L first arrow: 999; 1000, Down: 1001; "
                    "1000, Up: 999; 1000, PgDown: 1001; 1000, PgUp: 999; 1000, Home: 100; "
                    "1000, End: 5000; 100, L first arrow: 100; 100, L last arrow: 101; "
                    "100, M last trough: 101; 100, Up: 100; 100, Home: 100; 100, PgDown: 101; "
                    "5000, L last arrow: 5000; 5000, R first arrow: 4999; "
                    "5000, L first trough: 4999; 5000, Down: 5000; 5000, End: 5000; 5000, Up: 4999")
                .split("; ");
        const QStringList horizontal =
            QString("1000, M first trough: 1001; 1000, L last trough: 999; "
                    "1000, R last arrow: 999; 1000, Left: 1001; 1000, Right: 999; "
                    "1000, PgUp: 1001; 1000, PgDown: 999; 1000, Home: 5000; 1000, End: 100; "
                    "100, L last arrow: 100; 100, L first arrow: 101; 100, M first trough: 101; "
                    "100, Right: 100; 100, End: 100; 100, PgUp: 101; 5000, L first arrow: 5000; "
                    "5000, R last arrow: 4999; 5000, L last trough: 4999; 5000, Left: 5000; "
                    "5000, Home: 5000; 5000, Right: 4999")
                .split("; ");
        const char* names[] = {"Num", "Caps", "Scroll", "Effect"};
        for (int s = 0; s < 4; ++s)
            for (const QString& row : s < 3 ? vertical : horizontal)
                QTest::addRow("%s %s", names[s], qPrintable(row))
                    << s << row.section(", ", 0, 0).toInt()
                    << row.section(", ", 1).section(": ", 0, 0) << row.section(": ", 1).toInt();
    }

    void steps() {
        QFETCH(int, slider);
        QFETCH(int, start);
        QFETCH(QString, input);
        QFETCH(int, value);
        EffectWindow w;
        SpeedSlider* s = SpeedSliderTest::slider(w, slider);
        if (slider == 3)
            w.startEffect(0, start);
        else
            s->setValue(start);
        QSignalSpy changes(s, &SpeedSlider::Change);
        const QStringList click = input.split(' ');
        using enum QStyle::SubControl;
        const QMap<QString, QStyle::SubControl> parts{{"first arrow", SC_ScrollBarSubLine},
                                                      {"first trough", SC_ScrollBarSubPage},
                                                      {"last trough", SC_ScrollBarAddPage},
                                                      {"last arrow", SC_ScrollBarAddLine}};
        const QMap<QString, Qt::MouseButton> buttons{
            {"L", Qt::LeftButton}, {"M", Qt::MiddleButton}, {"R", Qt::RightButton}};
        if (click.size() == 1)
            QTest::keyClick(s, QKeySequence(input)[0].key());
        else
            QTest::mouseClick(s, buttons[click[0]], {}, partOf(*s, parts[click.mid(1).join(' ')]));
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

    // The thumb dragged to the 100 end and held there: Change does not run, nor do the wheel or
    // another button change anything, yet a running effect takes up the new value from its next
    // tick on. Then the press ends, by its release or, the release lost, by what cut it off:
    // Change runs once. A key then steps away from the end at once, and a late release changes
    // nothing.
    void dragToTheFastestEnd_data() {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("ticks"); // while held | after the key
        const QString all = "1000:NCS/NCS 100:NCS/- 100:NCS/NCS | 101:NSC!NCS/NCS";
        QTest::newRow("NumSpeed, released") << false << 0 << "1200:-/- | 101:N/N";
        QTest::newRow("EffectSpeed, released") << true << 0 << all;
        QTest::newRow("a menu pops up") << true << 1 << all;
        QTest::newRow("another window becomes active") << true << 2 << all;
        QTest::newRow("its panel is hidden") << true << 3 << all;
        QTest::newRow("the slider is disabled") << true << 4 << all;
        QTest::newRow("a new press, on the right arrow") << true << 5 << all;
    }

    void dragToTheFastestEnd() {
        QFETCH(bool, effect);
        QFETCH(int, end);
        QFETCH(QString, ticks);
        EffectWindow w;
        SpeedSlider* slider = effect ? w.ui.EffectSpeed : w.ui.NumSpeed;
        if (effect)
            w.startEffect(0, 1000);
        QSignalSpy changes(slider, &SpeedSlider::Change);
        const QPoint thumb = partOf(*slider, QStyle::SC_ScrollBarSlider);
        const QPoint fastest = thumb + (effect ? QPoint(500, 0) : QPoint(0, -500));
        QWheelEvent wheel(thumb, slider->mapToGlobal(thumb), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        QCOMPARE(slider->value(), 1000);
        QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(slider, fastest);
        QTest::mouseClick(slider, Qt::RightButton, {}, fastest);
        QVERIFY(slider->isSliderDown());
        QCOMPARE(slider->value(), 100);
        w.play(ticks.section(" | ", 0, 0));
        QCOMPARE(changes.count(), 0);

        QWidget other;
        if (end == 0) {
            QTest::mouseRelease(slider, Qt::LeftButton, {}, fastest);
        } else if (end == 1) {
            w.ui.mMode->popup({0, 0});
            w.ui.mMode->close();
        } else if (end == 2) {
            other.show();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else if (end == 3) {
            w.ui.Modeeff->hide();
            w.ui.Modeeff->show();
        } else if (end == 4) {
            slider->setEnabled(false);
            slider->setEnabled(true);
        } else {
            QTest::mouseClick(slider, Qt::LeftButton, {},
                              partOf(*slider, QStyle::SC_ScrollBarAddLine));
        }
        QCOMPARE(changes.count(), 1);
        QTest::keyClick(slider, effect ? Qt::Key_Left : Qt::Key_Down);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb);
        QVERIFY(!slider->isSliderDown());
        QCOMPARE(slider->value(), 101);
        QCOMPARE(changes.count(), 2);
        w.play(ticks.section(" | ", 1));
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "tst_speedslider.moc"
