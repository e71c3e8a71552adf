// The pattern language and Morse code, each to the timed steps it shows, or to its error.

#include "scripts/pattern.h"
#include "tests/scriptchecks.h"
#include "tests/textrow.h"

namespace {

// "[s] s:100 -:50 x2": the keys driven where not all three, each step's lit keys and length, and
// the rounds where not one.
QString written(const Checked<LightSequence>& call) {
    if (const auto* error = std::get_if<ScriptError>(&call))
        return error->message;
    const auto& sequence = std::get<LightSequence>(call);
    QStringList steps;
    if (sequence.driven != LockStates{true, true, true})
        steps << '[' + lockLetters(sequence.driven) + ']';
    for (const LightStep& step : sequence.steps)
        steps << QStringLiteral("%1:%2").arg(lockLetters(step.lit)).arg(step.ms);
    if (sequence.rounds != 1)
        steps << QStringLiteral("x%1").arg(sequence.rounds);
    return steps.join(' ');
}

} // namespace

class LightSequencesTest : public QObject {
    Q_OBJECT

private slots:
    // The steps of a good pattern; of a bad one, the column and what is wrong there.
    void pattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        textRow("none lit, shortest and longest", "-:10 ncs:60000", "-:10 ncs:60000");
        textRow("any order and case, spaces around", "  SnC:20\t c:30  ", "ncs:20 c:30");
        textRow("nested, spaces inside parentheses", "( (n:10)x2 s:20 )X2",
                "n:10 n:10 s:20 n:10 n:10 s:20");
        textRow("once", "(c:10)x1", "c:10");
        textRow("a thousand times", "(s:10)x1000",
                QStringList(PatternRepeatMost, "s:10").join(' '));

        const auto bad = [](const char* name, const char* pattern, int column, const char* error) {
            textRow(name, pattern, QStringLiteral("column %1: %2").arg(column).arg(error));
        };
        bad("empty", "   ", 1, "the pattern is empty");
        bad("unknown LED", "n:100 x:100", 7, "expected LEDs (n, c, s or -) or '('");
        bad("LED twice", "ncn:100", 3, "'n' is named twice in one step");
        bad("dash with LEDs", "-n:100", 2, "expected ':' after the LEDs");
        bad("no time", "n:", 3, "expected milliseconds after ':'");
        bad("too short", "c:100 s:9", 9, "9 ms is outside 10 to 60000");
        bad("too long", "s:60001", 3, "60001 ms is outside 10 to 60000");
        bad("huge time", "s:99999999999999", 3, "1000000000 ms is outside 10 to 60000");
        bad("steps run together", "n:100c:100", 6, "expected a space before 'c'");
        bad("unclosed group", "n:10 (c:10 s:10", 6, "the group opened at column 6 has no ')'");
        bad("stray ')'", "n:10) s:10", 5, "')' without a '(' before it");
        bad("no count", "(n:10) s:10", 7, "expected 'x' and a repeat count after ')'");
        bad("x without count", "(n:10)x", 8, "expected a repeat count after 'x'");
        bad("count 0", "(n:10)x0", 8, "repeat count 0 is outside 1 to 1000");
        bad("count 1001", "(n:10)x1001", 8, "repeat count 1001 is outside 1 to 1000");
        bad("empty group", "n:10 ( )x2", 6, "empty group");
        bad("too many steps", "((n:10 c:10)x1000)x51", 20,
            "the pattern unrolls into more than 100000 steps");
    }

    void pattern() {
        QFETCH(QString, pattern);
        QTEST(written(checkPlay(pattern)), "expected");
    }

    // Text, LED and unit as a script gives them, 0 and "" for the defaults.
    void morse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("led");
        QTest::addColumn<uint>("unit");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* text, const char* led, uint unit,
                            const char* expected) {
            QTest::newRow(name) << QString(text) << QString(led) << unit << QString(expected);
        };
        row("defaults: Scroll, 120 ms", "e", "", 0, "[s] s:120");
        row("the LED by name", "e", "CAPS", 50, "[c] c:50");
        row("elements 1 apart", "a", "", 100, "[s] s:100 -:100 s:300");
        row("letters 3 apart", "ET", "", 10, "[s] s:10 -:30 s:30");
        row("words 7 apart, spaces once", " e   e ", "", 10, "[s] s:10 -:70 s:10");
        row("digit and punctuation", "0?", "", 10,
            "[s] s:30 -:10 s:30 -:10 s:30 -:10 s:30 -:10 s:30 -:30 s:10 -:10 s:10 -:10 s:30 -:10 "
            "s:30 -:10 s:10 -:10 s:10");
        row("no code", "ab#c", "", 0, "column 3: '#' has no Morse code");
        row("letter beyond A to Z", "Ä", "", 0, "column 1: 'Ä' has no Morse code");
        row("only spaces", "  ", "", 0, "column 1: there is no text to send");
    }

    void morse() {
        QFETCH(QString, text);
        QFETCH(QString, led);
        QFETCH(uint, unit);
        QTEST(written(checkMorse(text, led, unit)), "expected");
    }
};

QTEST_APPLESS_MAIN(LightSequencesTest)
#include "tst_lightsequences.moc"
