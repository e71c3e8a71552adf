#include "tests/effectwindow.h"

#include <QSignalSpy>

// From `start`, a key, or `times` clicks with a button on a part of the slider, give `value`.
struct Step {
    int start;
    int key; // 0 for a click
    Qt::MouseButton button;
    QStyle::SubControl part;
    int value;
    int times = 1;
};
Q_DECLARE_METATYPE(Step)

// The speed sliders driven by real mouse and key events: NumSpeed, CapsSpeed and ScrollSpeed run
// from 100 at the top to 5000 at the bottom, EffectSpeed from 5000 at the left to 100 at the right.
class SpeedSliderTest : public QObject {
    Q_OBJECT

private slots:
    // From the middle and from either end, a key, or a click with any button (L, M, R) on a part
    // of the slider (see partOf()), once or `times` over, moves the value by 1 the way it points,
    // or not at all at the end it points to. A change takes effect at once: the key
    // blinks, or "All" ticks, one new interval later. The rows count from the top or left end
    // (NumSpeed 100 + p, EffectSpeed 5000 - p), with Down and Up standing for Right and Left on
    // EffectSpeed. CapsSpeed and ScrollSpeed are made as NumSpeed is: the rows from the middle
    // tell their range, their direction and their key.
    void steps_data() {
        QTest::addColumn<int>("slider");
        QTest::addColumn<Step>("step");
        constexpr auto L = Qt::LeftButton, M = Qt::MiddleButton, R = Qt::RightButton;
        constexpr auto SubLine = QStyle::SC_ScrollBarSubLine, AddLine = QStyle::SC_ScrollBarAddLine,
                       SubPage = QStyle::SC_ScrollBarSubPage, AddPage = QStyle::SC_ScrollBarAddPage;
        const auto key = [](int start, Qt::Key key, int value) {
            return Step{start, key, Qt::NoButton, QStyle::SC_None, value};
        };
        const auto click = [](int start, Qt::MouseButton button, QStyle::SubControl part, int value,
                              int times = 1) { return Step{start, 0, button, part, value, times}; };
        constexpr int Middle = 900, Last = 4900;
        const QList<Step> positions{
            click(Middle, L, AddPage, 901),    click(Middle, R, SubPage, 899),
            click(Middle, L, SubPage, 899),    click(Middle, R, AddPage, 901),
            key(Middle, Qt::Key_Down, 901),    key(Middle, Qt::Key_PageUp, 899),
            key(Middle, Qt::Key_Home, 0),      key(Middle, Qt::Key_End, Last),
            click(0, L, SubLine, 0),           click(0, L, AddLine, 1),
            click(0, M, AddPage, 1),           key(0, Qt::Key_Up, 0),
            key(0, Qt::Key_Home, 0),           key(0, Qt::Key_PageDown, 1),
            click(Last, L, AddLine, Last),     click(Last, R, SubLine, Last - 1),
            click(Last, L, SubPage, Last - 1), click(Last, M, SubPage, Last - 1),
            key(Last, Qt::Key_Down, Last),     key(Last, Qt::Key_End, Last),
            key(Last, Qt::Key_Up, Last - 1),   click(Last, L, SubLine, Last - 50, 50)};
        const char* names[] = {"Num", "Caps", "Scroll", "Effect"};
        for (int s = 0; s < 4; ++s)
            for (qsizetype i = 0; i < positions.size(); ++i) {
                Step step = positions[i];
                if ((s == 1 || s == 2) && step.start != Middle)
                    continue;
                const int first = s == 3 ? 5000 : 100, way = s == 3 ? -1 : 1;
                step.start = first + way * step.start, step.value = first + way * step.value;
                if (s == 3 && (step.key == Qt::Key_Down || step.key == Qt::Key_Up))
                    step.key = step.key == Qt::Key_Down ? Qt::Key_Right : Qt::Key_Left;
                QTest::addRow("%s, row %d", names[s], int(i)) << s << step;
            }
    }

    void steps() {
        QFETCH(int, slider);
        QFETCH(Step, step);
        EffectWindow w;
        SpeedSlider* s = w.window.findChildren<SpeedSlider*>()[slider];       // in the order made
        slider == 3 ? w.startEffect(0, step.start) : s->setValue(step.start); // "All" on Effect
        QSignalSpy changes(s, &SpeedSlider::Change);
        for (int i = 0; i < step.times; ++i)
            if (step.key)
                QTest::keyClick(s, Qt::Key(step.key));
            else
                QTest::mouseClick(s, step.button, {}, partOf(*s, step.part));
        QCOMPARE(s->value(), step.value);
        QCOMPARE(changes.count(), step.value == step.start ? 0 : step.times);
        QCOMPARE(w.after(step.value),
                 slider == 3 ? "NCS/NCS" : QString("%1/%1").arg("NCS"[slider]));
    }

    // The thumb dragged to the 100 end and held there: Change does not run, nor do the wheel or
    // another button change anything, yet a running effect takes up the new value from its next
    // tick on. Then the press ends, by its release or, the release lost, by what cut it off:
    // Change runs once. A key then steps away from the end at once, and a late release changes
    // nothing.
    void dragToTheFastestEnd_data() {
        QTest::addColumn<int>("end");
        QTest::newRow("NumSpeed, released") << 0;
        QTest::newRow("EffectSpeed, released") << 0;
        QTest::newRow("a menu pops up") << 1;
        QTest::newRow("another window becomes active") << 2;
        QTest::newRow("its panel is hidden") << 3;
        QTest::newRow("the slider is disabled") << 4;
        QTest::newRow("a new press, on the right arrow") << 5;
    }

    void dragToTheFastestEnd() {
        QFETCH(int, end);
        const bool effect = !QByteArray(QTest::currentDataTag()).startsWith("NumSpeed");
        // While held | after the key.
        const QString ticks =
            effect ? "1000:NCS/NCS 100:NCS/- 100:NCS/NCS | 101:NSC!NCS/NCS" : "1200:-/- | 101:N/N";
        EffectWindow w;
        SpeedSlider* slider = effect ? w.ui.EffectSpeed : w.ui.NumSpeed;
        if (effect)
            w.startEffect(0, 1000);
        QSignalSpy changes(slider, &SpeedSlider::Change);
        const auto state = [&] { // value, thumb held, Changes so far
            return QList<qsizetype>{slider->value(), slider->isSliderDown(), changes.count()};
        };
        const QPoint thumb = partOf(*slider, QStyle::SC_ScrollBarSlider);
        const QPoint fastest = thumb + (effect ? QPoint(500, 0) : QPoint(0, -500));
        QWheelEvent wheel(thumb, slider->mapToGlobal(thumb), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(slider, fastest);
        QTest::mouseClick(slider, Qt::RightButton, {}, fastest);
        QCOMPARE(state(), QList<qsizetype>({100, true, 0}));
        w.play(ticks.section(" | ", 0, 0));

        QWidget other;
        const QPoint rightArrow = partOf(*slider, QStyle::SC_ScrollBarAddLine);
        const std::function<void()> ends[]{
            [&] { QTest::mouseRelease(slider, Qt::LeftButton, {}, fastest); },
            [&] { w.ui.mMode->popup(QPoint()), w.ui.mMode->close(); },
            [&] { other.show(), void(QTest::qWaitForWindowActive(&other)); },
            [&] { w.ui.Modeeff->hide(), w.ui.Modeeff->show(); },
            [&] { slider->setEnabled(false), slider->setEnabled(true); },
            [&] { QTest::mouseClick(slider, Qt::LeftButton, {}, rightArrow); }};
        ends[end]();
        QCOMPARE(state(), QList<qsizetype>({100, false, 1}));
        QTest::keyClick(slider, effect ? Qt::Key_Left : Qt::Key_Down);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb);
        QCOMPARE(state(), QList<qsizetype>({101, false, 2}));
        w.play(ticks.section(" | ", 1));
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "tst_speedslider.moc"
