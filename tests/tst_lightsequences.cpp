// The pattern language and Morse code, each to the timed steps it shows, or to its error.

#include "scripts/morse.h"
#include "scripts/pattern.h"
#include "scripts/scriptcalls.h"

#include <QTest>

namespace {

// "nc:100 -:50": each step's lit keys (of those driven) and its length.
QString written(const LightSequence& sequence) {
    QStringList steps;
    for (const LightStep& step : sequence.steps) {
        QString lit;
        for (std::size_t i = 0; i < 3; ++i)
            if (step.lit[i])
                lit += "ncs"[i];
        steps << QStringLiteral("%1:%2").arg(lit.isEmpty() ? "-" : lit).arg(step.ms);
    }
    return steps.join(' ');
}

} // namespace

class LightSequencesTest : public QObject {
    Q_OBJECT

private slots:
    void goodPattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("steps");
        QTest::newRow("one step") << "n:100"
                                  << "n:100";
        QTest::newRow("none lit, shortest and longest") << "-:10 ncs:60000"
                                                        << "-:10 ncs:60000";
        QTest::newRow("any order and case, spaces around") << "  SnC:20\t c:30  "
                                                           << "ncs:20 c:30";
        QTest::newRow("the example") << "(n:100 c:100 s:100)x2 -:300 ncs:500"
                                     << "n:100 c:100 s:100 n:100 c:100 s:100 -:300 ncs:500";
        QTest::newRow("nested, spaces inside parentheses") << "( (n:10)x2 s:20 )X2"
                                                           << "n:10 n:10 s:20 n:10 n:10 s:20";
        QTest::newRow("once") << "(c:10)x1"
                              << "c:10";
        QTest::newRow("a thousand times")
            << "(s:10)x1000" << QStringList(PatternRepeatMost, "s:10").join(' ');
    }

    void goodPattern() {
        QFETCH(QString, pattern);
        QFETCH(QString, steps);
        const PatternResult result = parsePattern(pattern);
        QCOMPARE(result.error, QString());
        QCOMPARE(written(result.sequence), steps);
        QCOMPARE(result.sequence.rounds, 1);
        QCOMPARE(result.sequence.driven, (LockStates{true, true, true}));
    }

    void badPattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("column");
        QTest::newRow("empty") << "   "
                               << "the pattern is empty" << 1;
        QTest::newRow("unknown LED") << "n:100 x:100"
                                     << "expected LEDs (n, c, s or -) or '('" << 7;
        QTest::newRow("LED twice") << "ncn:100"
                                   << "'n' is named twice in one step" << 3;
        QTest::newRow("dash with LEDs") << "-n:100"
                                        << "expected ':' after the LEDs" << 2;
        QTest::newRow("no colon") << "n 100"
                                  << "expected ':' after the LEDs" << 2;
        QTest::newRow("no time") << "n:"
                                 << "expected milliseconds after ':'" << 3;
        QTest::newRow("too short") << "c:100 s:9"
                                   << "9 ms is outside 10 to 60000" << 9;
        QTest::newRow("too long") << "s:60001"
                                  << "60001 ms is outside 10 to 60000" << 3;
        QTest::newRow("huge time") << "s:99999999999999"
                                   << "1000000000 ms is outside 10 to 60000" << 3;
        QTest::newRow("steps run together") << "n:100c:100"
                                            << "expected a space before 'c'" << 6;
        QTest::newRow("unclosed group") << "n:10 (c:10 s:10"
                                        << "the group opened at column 6 has no ')'" << 6;
        QTest::newRow("stray ')'") << "n:10) s:10"
                                   << "')' without a '(' before it" << 5;
        QTest::newRow("no count") << "(n:10) s:10"
                                  << "expected 'x' and a repeat count after ')'" << 7;
        QTest::newRow("x without count") << "(n:10)x"
                                         << "expected a repeat count after 'x'" << 8;
        QTest::newRow("count 0") << "(n:10)x0"
                                 << "repeat count 0 is outside 1 to 1000" << 8;
        QTest::newRow("count 1001") << "(n:10)x1001"
                                    << "repeat count 1001 is outside 1 to 1000" << 8;
        QTest::newRow("empty group") << "n:10 ( )x2"
                                     << "empty group" << 6;
        QTest::newRow("too many steps") << "((n:10 c:10)x1000)x51"
                                        << "the pattern unrolls into more than 100000 steps" << 20;
    }

    void badPattern() {
        QFETCH(QString, pattern);
        QFETCH(QString, error);
        QFETCH(int, column);
        const PatternResult result = parsePattern(pattern);
        QCOMPARE(result.error, error);
        QCOMPARE(result.column, column);
    }

    void morse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("steps");
        QTest::newRow("dot") << "e" << 100 << "s:100";
        QTest::newRow("dash") << "T" << 100 << "s:300";
        QTest::newRow("elements 1 apart") << "a" << 100 << "s:100 -:100 s:300";
        QTest::newRow("letters 3 apart") << "ET" << 10 << "s:10 -:30 s:30";
        QTest::newRow("words 7 apart, spaces once") << " e   e " << 10 << "s:10 -:70 s:10";
        QTest::newRow("digit and punctuation") << "0?" << 10
                                               << "s:30 -:10 s:30 -:10 s:30 -:10 s:30 -:10 s:30 "
                                                  "-:30 s:10 -:10 s:10 -:10 s:30 -:10 s:30 -:10 "
                                                  "s:10 -:10 s:10";
    }

    void morse() {
        QFETCH(QString, text);
        QFETCH(int, unit);
        QFETCH(QString, steps);
        const MorseResult result = morseSequence(text, LockKey::Scroll, unit);
        QCOMPARE(result.error, QString());
        QCOMPARE(written(result.sequence), steps);
        QCOMPARE(result.sequence.driven, (LockStates{false, false, true}));
    }

    void badMorse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("no code") << "ab#c"
                                 << "column 3: '#' has no Morse code";
        QTest::newRow("letter beyond A to Z") << "Ä"
                                              << "column 1: 'Ä' has no Morse code";
        QTest::newRow("only spaces") << "  "
                                     << "column 1: there is no text to send";
    }

    void badMorse() {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const auto checked = checkMorse(text, "", 0);
        QVERIFY(std::holds_alternative<ScriptError>(checked));
        QCOMPARE(std::get<ScriptError>(checked).message, error);
    }

    // The default LED and unit, and the LED chosen by name.
    void morseDefaults() {
        const auto scroll = checkMorse("e", "", 0);
        QCOMPARE(written(std::get<LightSequence>(scroll)), "s:120");
        const auto caps = checkMorse("e", "CAPS", 50);
        QCOMPARE(std::get<LightSequence>(caps).driven, (LockStates{false, true, false}));
        QCOMPARE(written(std::get<LightSequence>(caps)), "c:50");
    }
};

QTEST_APPLESS_MAIN(LightSequencesTest)
#include "tst_lightsequences.moc"
