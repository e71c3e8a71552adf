#include "scripts/morse.h"

#include <QHash>

namespace {

const QHash<QChar, QString>& codes() {
    static const QHash<QChar, QString> table{
        {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},    {'D', "-.."},    {'E', "."},
        {'F', "..-."},   {'G', "--."},    {'H', "...."},    {'I', ".."},     {'J', ".---"},
        {'K', "-.-"},    {'L', ".-.."},   {'M', "--"},      {'N', "-."},     {'O', "---"},
        {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},     {'S', "..."},    {'T', "-"},
        {'U', "..-"},    {'V', "...-"},   {'W', ".--"},     {'X', "-..-"},   {'Y', "-.--"},
        {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},   {'2', "..---"},  {'3', "...--"},
        {'4', "....-"},  {'5', "....."},  {'6', "-...."},   {'7', "--..."},  {'8', "---.."},
        {'9', "----."},  {'.', ".-.-.-"}, {',', "--..--"},  {'?', "..--.."}, {'\'', ".----."},
        {'!', "-.-.--"}, {'/', "-..-."},  {'(', "-.--."},   {')', "-.--.-"}, {'&', ".-..."},
        {':', "---..."}, {';', "-.-.-."}, {'=', "-...-"},   {'+', ".-.-."},  {'-', "-....-"},
        {'_', "..--.-"}, {'"', ".-..-."}, {'$', "...-..-"}, {'@', ".--.-."},
    };
    return table;
}

} // namespace

MorseResult morseSequence(const QString& text, LockKey led, int unitMs) {
    MorseResult result;
    LockStates lit{};
    lit[indexOf(led)] = true;
    result.sequence.driven = lit;
    QList<LightStep>& steps = result.sequence.steps;
    // The gap before the next element: none at the start, and a word gap outweighs the rest.
    int gapUnits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace()) {
            if (!steps.isEmpty())
                gapUnits = 7;
            continue;
        }
        const auto code = codes().constFind(text[i].toUpper());
        if (code == codes().constEnd()) {
            result.error = QStringLiteral("'%1' has no Morse code").arg(text[i]);
            result.column = int(i) + 1;
            return result;
        }
        if (!steps.isEmpty())
            gapUnits = std::max(gapUnits, 3);
        for (QChar element : *code) {
            if (gapUnits > 0)
                steps << LightStep{{}, gapUnits * unitMs};
            steps << LightStep{lit, (element == '-' ? 3 : 1) * unitMs};
            gapUnits = 1;
        }
        gapUnits = 0;
    }
    if (steps.isEmpty()) {
        result.error = QStringLiteral("there is no text to send");
        result.column = 1;
    }
    return result;
}
