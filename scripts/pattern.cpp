#include "scripts/pattern.h"

namespace {

struct Failure {
    QString message;
    int column;
};

class PatternParser {
public:
    explicit PatternParser(const QString& text) : m_text(text) {}

    QList<LightStep> parse() {
        skipSpaces();
        if (atEnd())
            fail(QStringLiteral("the pattern is empty"), 0);
        QList<LightStep> steps = items(-1);
        if (!atEnd())
            fail(QStringLiteral("')' without a '(' before it"));
        return steps;
    }

private:
    // Items up to the end, or up to the ')' that closes the group opened at `open`.
    QList<LightStep> items(int open) {
        QList<LightStep> steps;
        while (!atEnd() && peek() != ')') {
            if (peek() == '(')
                group(steps);
            else
                steps.append(parseStep());
            if (!atEnd() && !peek().isSpace() && peek() != ')')
                fail(QStringLiteral("expected a space before '%1'").arg(peek()));
            skipSpaces();
        }
        if (open >= 0 && atEnd())
            fail(QStringLiteral("the group opened at column %1 has no ')'").arg(open + 1), open);
        return steps;
    }

    void group(QList<LightStep>& steps) {
        const int open = m_pos++;
        skipSpaces();
        const QList<LightStep> inner = items(open);
        if (inner.isEmpty())
            fail(QStringLiteral("empty group"), open);
        ++m_pos; // the ')'
        if (atEnd() || peek().toLower() != 'x')
            fail(QStringLiteral("expected 'x' and a repeat count after ')'"));
        ++m_pos;
        const int countAt = m_pos;
        const qint64 count = number(QStringLiteral("expected a repeat count after 'x'"));
        if (count < 1 || count > PatternRepeatMost)
            fail(QStringLiteral("repeat count %1 is outside 1 to %2")
                     .arg(count)
                     .arg(PatternRepeatMost),
                 countAt);
        if (steps.size() + inner.size() * count > PatternStepsMost)
            fail(
                QStringLiteral("the pattern unrolls into more than %1 steps").arg(PatternStepsMost),
                countAt);
        for (qint64 i = 0; i < count; ++i)
            steps.append(inner);
    }

    LightStep parseStep() {
        LightStep step;
        if (peek() == '-') {
            ++m_pos;
        } else {
            const int first = m_pos;
            while (!atEnd() && QStringLiteral("ncs").contains(peek().toLower())) {
                const auto key = QStringLiteral("ncs").indexOf(peek().toLower());
                if (step.lit[key])
                    fail(QStringLiteral("'%1' is named twice in one step").arg(peek()));
                step.lit[key] = true;
                ++m_pos;
            }
            if (m_pos == first)
                fail(QStringLiteral("expected LEDs (n, c, s or -) or '('"));
        }
        if (atEnd() || peek() != ':')
            fail(QStringLiteral("expected ':' after the LEDs"));
        ++m_pos;
        const int msAt = m_pos;
        const qint64 ms = number(QStringLiteral("expected milliseconds after ':'"));
        if (ms < PatternStepShortest || ms > PatternStepLongest)
            fail(QStringLiteral("%1 ms is outside %2 to %3")
                     .arg(ms)
                     .arg(PatternStepShortest)
                     .arg(PatternStepLongest),
                 msAt);
        step.ms = int(ms);
        return step;
    }

    // Digits, read up to a value that is out of every range anyway.
    qint64 number(const QString& missing) {
        const int first = m_pos;
        qint64 value = 0;
        for (; !atEnd() && peek().isDigit() && peek().unicode() < 128; ++m_pos)
            value = std::min<qint64>(value * 10 + peek().digitValue(), 1'000'000'000);
        if (m_pos == first)
            fail(missing);
        return value;
    }

    [[noreturn]] void fail(const QString& message, int at = -1) const {
        throw Failure{message, (at < 0 ? m_pos : at) + 1};
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text[m_pos]; }
    void skipSpaces() {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
    }

    const QString& m_text;
    int m_pos = 0;
};

} // namespace

PatternResult parsePattern(const QString& text) {
    PatternResult result;
    try {
        result.sequence.steps = PatternParser(text).parse();
    } catch (const Failure& failure) {
        result.error = failure.message;
        result.column = failure.column;
    }
    return result;
}
