#include "sliderparts.h"
#include "speedslider.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The two kinds of speed slider of the main window, with their sizes and ends, driven by real
// mouse and key events.
class SpeedSliderTest : public QObject {
    Q_OBJECT

    struct Panel {
        QWidget window;
        QPushButton button{"elsewhere", &window};
        SpeedSlider perKey{Qt::Vertical, 100, 5000, 1000, &window};
        SpeedSlider effect{Qt::Horizontal, 5000, 100, 150, &window};
        Panel() {
            window.resize(200, 120);
            button.setGeometry(100, 20, 80, 25);
            perKey.setGeometry(20, 20, 17, 76);
            effect.setGeometry(60, 100, 113, 17);
            button.setFocus();
            window.show();
        }
        SpeedSlider& slider(bool isEffect) { return isEffect ? effect : perKey; }
    };

private slots:
    void clicksStepByOneTowardsTheClick_data() {
        QTest::addColumn<bool>("isEffect");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        const int left = Qt::LeftButton, middle = Qt::MiddleButton, right = Qt::RightButton;
        QTest::newRow("trough below thumb")
            << false << int(QStyle::SC_ScrollBarAddPage) << left << 1000 << 1001;
        QTest::newRow("trough below, middle button")
            << false << int(QStyle::SC_ScrollBarAddPage) << middle << 1000 << 1001;
        QTest::newRow("trough above, right button")
            << false << int(QStyle::SC_ScrollBarSubPage) << right << 1000 << 999;
        QTest::newRow("bottom arrow")
            << false << int(QStyle::SC_ScrollBarAddLine) << left << 1000 << 1001;
        QTest::newRow("top arrow")
            << false << int(QStyle::SC_ScrollBarSubLine) << left << 1000 << 999;
        QTest::newRow("top arrow at the top end")
            << false << int(QStyle::SC_ScrollBarSubLine) << left << 100 << 100;
        QTest::newRow("effect: trough left of thumb")
            << true << int(QStyle::SC_ScrollBarSubPage) << left << 2500 << 2501;
        QTest::newRow("effect: trough left, middle button")
            << true << int(QStyle::SC_ScrollBarSubPage) << middle << 2500 << 2501;
        QTest::newRow("effect: trough right of thumb")
            << true << int(QStyle::SC_ScrollBarAddPage) << left << 2500 << 2499;
        QTest::newRow("effect: left arrow")
            << true << int(QStyle::SC_ScrollBarSubLine) << left << 2500 << 2501;
        QTest::newRow("effect: right arrow")
            << true << int(QStyle::SC_ScrollBarAddLine) << right << 2500 << 2499;
    }

    void clicksStepByOneTowardsTheClick() {
        QFETCH(bool, isEffect);
        QFETCH(int, part);
        QFETCH(int, button);
        QFETCH(int, start);
        QFETCH(int, expected);
        Panel panel;
        SpeedSlider& slider = panel.slider(isEffect);
        slider.setValue(start);
        QSignalSpy changes(&slider, &SpeedSlider::Change);

        const QRect where = partOf(slider, QStyle::SubControl(part));
        QVERIFY(!where.isEmpty());
        QTest::mouseClick(&slider, Qt::MouseButton(button), {}, where.center());
        QCOMPARE(slider.value(), expected);
        QCOMPARE(changes.count(), expected == start ? 0 : 1);
    }

    void keysMoveTheWayTheyPoint_data() {
        QTest::addColumn<bool>("isEffect");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        const std::pair<Qt::Key, int> perKey[] = {{Qt::Key_Down, 1001},     {Qt::Key_Up, 999},
                                                  {Qt::Key_PageDown, 1001}, {Qt::Key_PageUp, 999},
                                                  {Qt::Key_Home, 100},      {Qt::Key_End, 5000}};
        for (auto [key, expected] : perKey)
            QTest::addRow("per-key %s", qPrintable(QKeySequence(key).toString()))
                << false << int(key) << expected;
        const std::pair<Qt::Key, int> effect[] = {{Qt::Key_Left, 1001},   {Qt::Key_Right, 999},
                                                  {Qt::Key_PageUp, 1001}, {Qt::Key_PageDown, 999},
                                                  {Qt::Key_Home, 5000},   {Qt::Key_End, 100}};
        for (auto [key, expected] : effect)
            QTest::addRow("effect %s", qPrintable(QKeySequence(key).toString()))
                << true << int(key) << expected;
    }

    void keysMoveTheWayTheyPoint() {
        QFETCH(bool, isEffect);
        QFETCH(int, key);
        QFETCH(int, expected);
        Panel panel;
        SpeedSlider& slider = panel.slider(isEffect);
        slider.setValue(1000);
        QSignalSpy changes(&slider, &SpeedSlider::Change);
        QTest::keyClick(&slider, Qt::Key(key));
        QCOMPARE(slider.value(), expected);
        QCOMPARE(changes.count(), 1);
    }

    void dragChangesOnceOnRelease() {
        Panel panel;
        QSignalSpy changes(&panel.perKey, &SpeedSlider::Change);
        QList<int> followed;
        dragThumb(panel.perKey, {8, 0}, [&] {
            followed << panel.perKey.value();
            QCOMPARE(changes.count(), 0);
        });
        QVERIFY(followed.first() < 1000);
        QCOMPARE(followed.last(), 100);
        QCOMPARE(panel.perKey.value(), 100);
        QCOMPARE(changes.count(), 1);

        // A drag that ends where it began changes nothing.
        const QPoint thumb = partOf(panel.perKey, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(&panel.perKey, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(&panel.perKey, thumb + QPoint(0, 30));
        QVERIFY(panel.perKey.value() > 100);
        QTest::mouseMove(&panel.perKey, thumb);
        QTest::mouseRelease(&panel.perKey, Qt::LeftButton, {}, thumb);
        QCOMPARE(panel.perKey.value(), 100);
        QCOMPARE(changes.count(), 1);
    }

    void programChangeRunsChangeOnlyForANewValue() {
        Panel panel;
        QSignalSpy changes(&panel.effect, &SpeedSlider::Change);
        panel.effect.setValue(150);
        QCOMPARE(changes.count(), 0);
        panel.effect.setValue(400);
        QCOMPARE(changes.count(), 1);
    }

    void gotFocusByClickOrTabOnly() {
        Panel panel;
        QVERIFY(QTest::qWaitForWindowActive(&panel.window));
        QSignalSpy focus(&panel.perKey, &SpeedSlider::GotFocus);
        QTest::mouseClick(&panel.perKey, Qt::LeftButton, {},
                          partOf(panel.perKey, QStyle::SC_ScrollBarSlider).center());
        QCOMPARE(focus.count(), 1);
        QCOMPARE(panel.perKey.value(), 1000);

        // Coming back to the window is no new focus.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        panel.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel.window));
        QVERIFY(panel.perKey.hasFocus());
        QCOMPARE(focus.count(), 1);

        panel.button.setFocus();
        QTest::keyClick(&panel.button, Qt::Key_Tab);
        QVERIFY(panel.perKey.hasFocus());
        QCOMPARE(focus.count(), 2);

        // Disabled, it takes neither focus nor clicks.
        panel.button.setFocus();
        panel.perKey.setEnabled(false);
        QTest::mouseClick(&panel.perKey, Qt::LeftButton, {},
                          partOf(panel.perKey, QStyle::SC_ScrollBarAddPage).center());
        QCOMPARE(focus.count(), 2);
        QCOMPARE(panel.perKey.value(), 1000);
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "tst_speedslider.moc"
