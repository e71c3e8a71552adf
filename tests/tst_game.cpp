#include "tests/effectwindow.h"
#include "tests/keylook.h"

#include <QLabel>

namespace {

// A round as the player saw it: the keys in the order they went down lit, and when, counted from
// the moment the player began to watch; and whether the LEDs kept to the rule of a step.
struct Round {
    QList<int> keys;
    QList<qint64> times;
    bool ledsAsFound = true;
};

// The window on its game panel, and a player who reads each round only from the keys that go
// down lit and answers with real clicks.
struct GameWindow : EffectWindow {
    GameWindow() {
        ui.mGame->trigger();
        clock.advance(100); // past the reset the menu armed
        keyboard.clearEvents();
    }

    Taste* key(int number) const { return ui.gameKeys()[number - 1]; }
    QString state() const { return ui.Gamestate->text(); }

    // Polls every 50 ms until the player's turn comes, or the game ends. A step toggles its lock
    // key as its key goes down lit and again as it comes up, so during the round each LED is as
    // it was found (`found`: the lit ones by initial) but for the key shown.
    Round watch(const QString& found = "") {
        Round round;
        const qint64 start = clock.now();
        std::array<bool, 3> wasLit{};
        while (state() != "Your turn!" && state() != "You lost!" && clock.now() - start < 60000) {
            clock.advance(50);
            for (int number = 1; number <= 3; ++number) {
                const bool lit = lampLit(key(number)) && drawnPressed(key(number));
                if (lit && !wasLit[number - 1]) {
                    round.keys << number;
                    round.times << clock.now() - start;
                }
                wasLit[number - 1] = lit;
                const bool led = modSync::IsLockOn(keyboard, AllLockKeys[number - 1]);
                if (state() != "You won!" && led != (found.contains("NCS"[number - 1]) != lit))
                    round.ledsAsFound = false;
            }
        }
        return round;
    }

    // Waits for the last key of the round to come up.
    void waitForRelease() {
        while (lampLit(key(1)) || lampLit(key(2)) || lampLit(key(3)))
            clock.advance(50);
    }

    void click(int number) { mouseOnKey(key(number), QTest::MouseClick); }

    // Repeats the first `right` keys of the round, then, if told, clicks a wrong one.
    void answer(const Round& round, qsizetype right, bool thenWrong = false) {
        for (qsizetype i = 0; i < right; ++i)
            click(round.keys[i]);
        if (thenWrong)
            click(round.keys[right] % 3 + 1);
    }

    // "Score level Highscore | state, Start Game and End Game enabled, each game key enabled,
    // drawn pressed, lit or none of these".
    QString labels() const {
        QString keys;
        for (Taste* k : ui.gameKeys())
            keys += k->isEnabled() ? 'e' : (drawnPressed(k) ? 'p' : (lampLit(k) ? 'l' : '-'));
        return QStringLiteral("%1 %2 %3 | %4 %5%6 %7")
            .arg(ui.Score->text(), ui.level->text(), ui.Highscore->text(), state())
            .arg(ui.Start_Game->isEnabled())
            .arg(ui.Stopgame->isEnabled())
            .arg(keys);
    }
};

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    // A step holds its key for 400 ms: 1000 ms after "Start Game" its lock key is toggled on,
    // still lit at 1399 ms, toggled back at 1400 ms. That the key shown goes with the LED is
    // watch()'s check.
    void stepHoldsItsKey400ms() {
        GameWindow w;
        QTest::mouseClick(w.ui.Start_Game, Qt::LeftButton);
        const QString first = w.after(1000);
        const QChar k = first[0];
        QVERIFY2(QString("NCS").contains(k) && first == QString("%1/%1").arg(k), qPrintable(first));
        QCOMPARE(w.after(399), QString("-/%1").arg(k));
        QCOMPARE(w.after(1), QString("%1/-").arg(k));
    }

    // Levels 1 to 3 play rounds of 3, 5, 7 and 9 keys at 1000, 800 and 600 ms a step; level 4
    // goes on with 11 and 13 keys at 600 ms, its label staying at "4". Num Lock, lit before the
    // game, is kept through the first round's steps; each won round darkens the LEDs 100 ms
    // later. A second start of the program plays the same first round.
    void perfectPlayerClimbsTheLevels() {
        GameWindow w;
        w.keyboard.setToggled(LockKeyCode::Num, true);
        QTest::mouseClick(w.ui.Start_Game, Qt::LeftButton);
        QCOMPARE(w.labels(), "0 1  | Wait... 01 eee");
        struct Expected {
            int level, keys, step;
        };
        const Expected rounds[] = {{1, 3, 1000}, {1, 5, 1000}, {1, 7, 1000}, {1, 9, 1000},
                                   {2, 3, 800},  {2, 5, 800},  {2, 7, 800},  {2, 9, 800},
                                   {3, 3, 600},  {3, 5, 600},  {3, 7, 600},  {3, 9, 600},
                                   {4, 11, 600}, {4, 13, 600}};
        int score = 0;
        std::array<int, 3> drawn{};
        for (const Expected& expected : rounds) {
            const bool first = score == 0;
            const Round round = w.watch(first ? "N" : "");
            QVERIFY(round.ledsAsFound);
            QCOMPARE(w.ui.level->text(), QString::number(expected.level));
            for (int i = 0; i < round.times.size(); ++i)
                QCOMPARE(round.times[i], (first ? 0 : 900) + (i + 1) * expected.step);
            for (int number : round.keys)
                ++drawn[number - 1];
            if (first) {
                GameWindow again;
                QTest::mouseClick(again.ui.Start_Game, Qt::LeftButton);
                QCOMPARE(again.watch().keys, round.keys);
            }
            w.waitForRelease();
            w.keyboard.clearEvents();
            w.answer(round, round.keys.size());
            score += expected.keys; // a point a key: a round too short or long shows here
            QCOMPARE(w.labels(),
                     QStringLiteral("%1 %2  | You won! 01 ---").arg(score).arg(expected.level));
            QCOMPARE(w.after(100), first ? "N/-" : "-/-");
        }
        for (int count : drawn)
            QVERIFY(count > 96 / 5); // about a third each of the 96 keys
    }

    // Every way a game ends, one game after the other in one run: a click during "Wait...", a
    // wrong key, "End Game" in the player's turn or in the pause after "You won!"; some answers
    // given while the round's last key is still shown count as well. The labels keep the final
    // score and level, the highscore goes up only when beaten, every key comes up dark, the LEDs
    // are dark 100 ms later, and no round follows.
    void gamesEndAndTheHighscoreStays() {
        GameWindow w;
        enum Ending { OutOfTurn, WrongKey, EndGame, EndGameInPause };
        struct Game {
            int correct; // keys answered right before the end
            Ending ending;
            bool quick; // answers round 1 while its last key is still shown
            const char* expected;
        };
        const Game games[] = {
            {0, OutOfTurn, false, "0 1  | You lost! 10 ---"},
            {5, WrongKey, true, "5 1 5 | You lost! 10 ---"},
            {3, EndGameInPause, false, "3 1 5 | You lost! 10 ---"},
            {5, EndGame, false, "5 1 5 | You lost! 10 ---"},
            {6, WrongKey, false, "6 1 6 | You lost! 10 ---"},
        };
        for (const Game& game : games) {
            w.keyboard.setToggled(LockKeyCode::Num, true); // lit by the user before the game
            QTest::mouseClick(w.ui.Start_Game, Qt::LeftButton);
            int left = game.correct;
            if (game.ending == OutOfTurn) {
                w.clock.advance(1000); // the first key shown
                w.click(1);
            }
            for (bool first = true; w.state() != "You lost!"; first = false) {
                const Round round = w.watch(first ? "N" : "");
                QVERIFY(round.ledsAsFound);
                if (!(first && game.quick))
                    w.waitForRelease();
                if (left >= round.keys.size()) {
                    w.answer(round, round.keys.size());
                    left -= round.keys.size();
                    if (left == 0 && game.ending == EndGameInPause) {
                        w.clock.advance(600);
                        QTest::mouseClick(w.ui.Stopgame, Qt::LeftButton);
                    }
                    continue;
                }
                w.answer(round, left, game.ending == WrongKey);
                if (game.ending == EndGame) {
                    QCOMPARE(w.state(), "Your turn!");
                    QTest::mouseClick(w.ui.Stopgame, Qt::LeftButton);
                }
            }
            QCOMPARE(w.labels(), game.expected);
            w.clock.advance(100);
            w.keyboard.clearEvents();
            QCOMPARE(w.after(5000), "-/-"); // no round follows
        }
    }
};

QTEST_MAIN(GameTest)
#include "tst_game.moc"
