#include "platform/intervaltimer.h"
#include "tests/effectwindow.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace {
// The panels shown (E, G, T), the window's timers that run besides Timer1, the game's status and
// the effect panel's controls.
QString modeState(const EffectWindow& w) {
    QString state;
    for (auto [panel, letter] :
         {std::pair{w.ui.Modeeff, 'E'}, {w.ui.Modegame, 'G'}, {w.ui.Terms, 'T'}})
        if (panel->isVisible())
            state += letter;
    for (IntervalTimer* timer : w.window.findChildren<IntervalTimer*>())
        if (timer->isEnabled() && timer != w.ui.Timer1)
            state += ' ' + timer->objectName();
    return state + " '" + w.ui.Gamestate->text() + "' " + w.controls();
}
} // namespace

class ModesTest : public QObject {
    Q_OBJECT

private slots:
    // Each menu item while an effect, blinking or a game runs, used in that mode's panel or on
    // the terms page: a mode stops the other mode's activity, the terms page stops nothing.
    void menuStopsOnlyTheOtherMode_data() {
        QTest::addColumn<QString>("expected");
        const char* const rows[][2] = {
            {"effect mEffect", "E resetime Alltime '' 000001"},
            {"effect mGame", "G resetime '' 111111"},
            {"effect mInfo", "T Alltime '' 000001"},
            {"blink mGame", "G resetime '' 111111"},
            {"blink mInfo", "T NUMtime '' 001110"},
            {"blink terms mEffect", "E resetime NUMtime '' 001110"},
            {"game mGame", "G resetime Gametime2 'Wait...' 111111"},
            {"game mInfo", "T Gametime2 'Wait...' 111111"},
            {"game terms mEffect", "E resetime '' 111111"},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]);
    }

    void menuStopsOnlyTheOtherMode() {
        QFETCH(QString, expected);
        const QStringList row = QString(QTest::currentDataTag()).split(' ');
        EffectWindow w;
        if (row[0] == "effect") {
            w.ui.StartEff->click();
        } else if (row[0] == "blink") {
            w.ui.NumSpeed->setValue(500);
        } else {
            w.ui.mGame->trigger();
            w.ui.Start_Game->click();
        }
        w.clock.advance(100);
        if (row[1] == "terms")
            w.ui.mInfo->trigger();
        w.window.findChild<QAction*>(row.last())->trigger();
        QCOMPARE(modeState(w), expected);
    }

    // The page opens from the menu and from the top "S" beside NumSpeed only, the terms from a
    // click on the terms panel (its line included) but not on its texts; both are the program's
    // own files. No menu item has an access key (a lone '&' would make one).
    void linksOpenTheProgramsOwnFiles() {
        EffectWindow w;
        for (const char* letter : {"Label24", "Label25", "Label38", "Label33"})
            QTest::mouseClick(w.window.findChild<QWidget*>(letter), Qt::LeftButton);
        w.ui.mStuff->trigger();
        w.ui.mInfo->trigger();
        for (QWidget* text : std::initializer_list<QWidget*>{w.ui.Label5, w.ui.Label6})
            QTest::mouseClick(text, Qt::LeftButton);
        QTest::mouseClick(w.ui.Terms, Qt::LeftButton, {}, {4, 100});
        QTest::mouseClick(w.ui.Line1, Qt::LeftButton);
        QTest::mouseClick(w.ui.Terms, Qt::RightButton, {}, {4, 100});

        const QString folder = QCoreApplication::applicationDirPath();
        const QString page = "browser " + QUrl::fromLocalFile(folder + "/tintaro.html").toString();
        const QString terms = "editor " + folder + "/Terms of use.txt";
        QCOMPARE(w.launcher.opened, (QStringList{page, page, terms, terms}));
        QVERIFY(QFileInfo::exists(folder + "/tintaro.html"));
        QVERIFY(QFileInfo::exists(folder + "/Terms of use.txt"));

        for (QAction* action : w.window.menuBar()->findChildren<QAction*>())
            QVERIFY2(QKeySequence::mnemonic(action->text()).isEmpty(), qPrintable(action->text()));
    }

    // Focus that the menu bar gives back to a per-key slider is no new focus: leaving the menu
    // bar, or choosing "Game Mode" from the keyboard, leaves the effect panel unlocked.
    void keyboardMenuLeavesTheEffectPanelUnlocked() {
        EffectWindow w;
        QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                          partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarSubPage));
        w.ui.Stop->click();
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QTest::keyClick(&w.window, Qt::Key_Alt);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QCOMPARE(modeState(w), "E resetime '' 111111");

        QTest::keyClick(&w.window, Qt::Key_Alt);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down}) // the "Mode" menu, open
            QTest::keyClick(QApplication::focusWidget(), key);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Return}) // its second item
            QTest::keyClick(QApplication::activePopupWidget(), key);
        QCOMPARE(modeState(w), "G resetime '' 111111");
    }

    // "Start Effect" is first in the tab order; the on-screen keys come after the sliders.
    void tabOrderStartsAtStartEffect() {
        EffectWindow w;
        QApplication::focusWidget()->clearFocus();
        QStringList order;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(&w.window, Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"StartEff", "Stop", "Combo1", "EffectSpeed", "NumSpeed",
                                     "CapsSpeed", "ScrollSpeed", "Taste1", "Taste2", "Taste3"}));
    }
};

QTEST_MAIN(ModesTest)
#include "tst_modes.moc"
