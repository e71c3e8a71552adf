#include "effectwindow.h"
#include "intervaltimer.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace {
// The panel shown (E, G or T), what runs ("effect", "blink", "game", "reset"), the game's status
// and the effect panel's controls.
QString modeState(const EffectWindow& w) {
    const tastaturDesign& ui = w.ui;
    QString state = ui.Modeeff->isVisible() ? "E" : ui.Modegame->isVisible() ? "G" : "T";
    if (!ui.Modeeff->isVisible() + !ui.Modegame->isVisible() + !ui.Terms->isVisible() != 2)
        state = "panels wrong";
    auto running = [&w](std::initializer_list<const char*> names) {
        for (const char* name : names)
            if (w.window.findChild<IntervalTimer*>(name)->isEnabled())
                return true;
        return false;
    };
    if (running({"Alltime", "Knighttime", "Landingtime", "Rockyoutime", "Runtime", "Speeduptime",
                 "Traffictime", "Walktime"}))
        state += " effect";
    if (running({"NUMtime", "CAPStime", "SCROLLtime"}))
        state += " blink";
    if (running({"Gametime2", "Gametime", "NextGametime"}))
        state += " game";
    if (running({"resetime"}))
        state += " reset";
    return state + " '" + ui.Gamestate->text() + "' " + w.controls();
}
} // namespace

class ModesTest : public QObject {
    Q_OBJECT

private slots:
    // Each menu item while an effect, blinking or a game runs, used in that mode's panel or on
    // the terms page: a mode stops the other mode's activity, the terms page stops nothing.
    void menuStopsOnlyTheOtherMode_data() {
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("fromTerms");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        const QString stopped = " reset '' 111111";
        QTest::newRow("effect, Effect Mode") << "effect" << false << "mEffect"
                                             << "E effect reset '' 000001";
        QTest::newRow("effect, Game Mode") << "effect" << false << "mGame"
                                           << "G" + stopped;
        QTest::newRow("effect, terms") << "effect" << false << "mInfo"
                                       << "T effect '' 000001";
        QTest::newRow("effect, terms, Effect Mode") << "effect" << true << "mEffect"
                                                    << "E effect reset '' 000001";
        QTest::newRow("effect, terms, Game Mode") << "effect" << true << "mGame"
                                                  << "G" + stopped;
        QTest::newRow("blink, Game Mode") << "blink" << false << "mGame"
                                          << "G" + stopped;
        QTest::newRow("blink, terms") << "blink" << false << "mInfo"
                                      << "T blink '' 001110";
        QTest::newRow("blink, terms, Effect Mode") << "blink" << true << "mEffect"
                                                   << "E blink reset '' 001110";
        QTest::newRow("game, Effect Mode") << "game" << false << "mEffect"
                                           << "E" + stopped;
        QTest::newRow("game, Game Mode") << "game" << false << "mGame"
                                         << "G game reset 'Wait...' 111111";
        QTest::newRow("game, terms") << "game" << false << "mInfo"
                                     << "T game 'Wait...' 111111";
        QTest::newRow("game, terms, Game Mode") << "game" << true << "mGame"
                                                << "G game reset 'Wait...' 111111";
        QTest::newRow("game, terms, Effect Mode") << "game" << true << "mEffect"
                                                  << "E" + stopped;
    }

    void menuStopsOnlyTheOtherMode() {
        QFETCH(QString, running);
        QFETCH(bool, fromTerms);
        QFETCH(QString, item);
        QFETCH(QString, expected);
        EffectWindow w;
        if (running == "effect") {
            w.ui.StartEff->click();
        } else if (running == "blink") {
            w.ui.NumSpeed->setValue(500);
        } else {
            w.ui.mGame->trigger();
            w.ui.Start_Game->click();
        }
        w.clock.advance(100);
        if (fromTerms)
            w.ui.mInfo->trigger();
        w.window.findChild<QAction*>(item)->trigger();
        QCOMPARE(modeState(w), expected);
    }

    // The page opens from the menu and from the top "S" beside NumSpeed only, the terms from a
    // click on the terms panel (its line included) but not on its texts; both are the program's
    // own files. No menu item has an access key.
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
        QCOMPARE(w.ui.mInfo->text().replace("&&", "&"), "Terms of use  &  Info");
    }

    // Focus that the menu bar gives back to a per-key slider is no new focus: leaving the menu
    // bar, or choosing "Game Mode" from the keyboard, leaves the effect panel unlocked.
    void keyboardMenuLeavesTheEffectPanelUnlocked() {
        EffectWindow w;
        QTest::mouseClick(w.ui.NumSpeed, Qt::LeftButton, {},
                          partOf(*w.ui.NumSpeed, QStyle::SC_ScrollBarSubPage));
        QCOMPARE(modeState(w), "E blink '' 001110");
        w.ui.Stop->click();
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QTest::keyClick(&w.window, Qt::Key_Alt);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(w.ui.NumSpeed->hasFocus());
        QCOMPARE(modeState(w), "E reset '' 111111");

        QTest::keyClick(&w.window, Qt::Key_Alt);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down}) // the "Mode" menu, open
            QTest::keyClick(QApplication::focusWidget(), key);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Return}) // its second item
            QTest::keyClick(QApplication::activePopupWidget(), key);
        QCOMPARE(modeState(w), "G reset '' 111111");
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
