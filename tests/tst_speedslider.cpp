#include "tests/effectwindow.h"

#include <QSignalSpy>

// The speed sliders driven by real mouse and key events: NumSpeed, CapsSpeed and ScrollSpeed run
// from 100 at the top to 5000 at the bottom, EffectSpeed from 5000 at the left to 100 at the right.
class SpeedSliderTest : public QObject {
    Q_OBJECT

private slots:
    // From the middle and from either end, a key, or a click with any button (L, M, R) on a part
    // named as partOf() names it, once or as often as a number in front says, moves the value by
    // 1 the way it points, or not at all at the end it points to. A change takes effect at once:
    // the key blinks, or "All" ticks, one new interval later.
    void steps_data() {
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("row"); // "start, input: value"
        const QString vertical =
            "1000, L AddPage: 1001; 1000, R SubPage: 999; 1000, Down: 1001; 1000, PgUp: 999; "
            "1000, Home: 100; 1000, End: 5000; 100, L SubLine: 100; 100, L AddLine: 101; "
            "100, M AddPage: 101; 100, Up: 100; 100, Home: 100; 100, PgDown: 101; "
            "5000, L AddLine: 5000; 5000, R SubLine: 4999; 5000, L SubPage: 4999; "
            "5000, Down: 5000; 5000, End: 5000; 5000, Up: 4999; 5000, 50 L SubLine: 4950";
        const QString horizontal =
            "1000, L SubPage: 1001; 1000, R AddPage: 999; 1000, Right: 999; 1000, PgDown: 999; "
            "1000, Home: 5000; 1000, End: 100; 5000, L SubLine: 5000; 5000, L AddLine: 4999; "
            "5000, M AddPage: 4999; 5000, Left: 5000; 5000, Home: 5000; 5000, PgDown: 4999; "
            "100, L AddLine: 100; 100, R SubLine: 101; 100, M SubPage: 101; 100, Right: 100; "
            "100, End: 100; 100, Left: 101; 100, 50 L SubLine: 150";
        const char* names[] = {"Num", "Caps", "Scroll", "Effect"};
        for (int s = 0; s < 4; ++s)
            for (const QString& row : (s < 3 ? vertical : horizontal).split("; "))
                QTest::addRow("%s %s", names[s], qPrintable(row)) << s << row;
    }

    void steps() {
        QFETCH(int, slider);
        QFETCH(QString, row);
        const int start = row.section(", ", 0, 0).toInt(), value = row.section(": ", 1).toInt();
        QStringList input = row.section(", ", 1).section(": ", 0, 0).split(' ');
        const int times = input[0].toInt() ? input.takeFirst().toInt() : 1;
        EffectWindow w;
        SpeedSlider* s = w.window.findChildren<SpeedSlider*>()[slider]; // in the order made
        slider == 3 ? w.startEffect(0, start) : s->setValue(start);     // "All" on EffectSpeed
        QSignalSpy changes(s, &SpeedSlider::Change);
        const int part = QMetaEnum::fromType<QStyle::SubControl>().keyToValue(
            qPrintable("SC_ScrollBar" + input.last()));
        const Qt::MouseButton buttons[]{Qt::LeftButton, Qt::MiddleButton, Qt::RightButton};
        for (int i = 0; i < times; ++i)
            if (input.size() == 1)
                QTest::keyClick(s, QKeySequence(input[0])[0].key());
            else
                QTest::mouseClick(s, buttons[QString("LMR").indexOf(input[0])], {},
                                  partOf(*s, QStyle::SubControl(part)));
        QCOMPARE(s->value(), value);
        QCOMPARE(changes.count(), value == start ? 0 : times);
        QCOMPARE(w.after(value), slider == 3 ? "NCS/NCS" : QString("%1/%1").arg("NCS"[slider]));
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
