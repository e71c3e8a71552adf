#include "scripts/commandline.h"

#include "scripts/scriptcalls.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>

namespace {

using Command = Request::Command;

struct CommandOption {
    Command command;
    QCommandLineOption option;
};

// The options that name a command, one of which is given.
QList<CommandOption> commandOptions() {
    return {
        {Command::ListEffects, {"list-effects", "Prints the names of the effects, one a line."}},
        {Command::Effect,
         {"effect", "Runs the effect NAME (any letter case) until stopped.", "NAME"}},
        {Command::Blink,
         {"blink", "Blinks the LEDs named, a comma list of num, caps and scroll.", "LEDS"}},
        {Command::Play,
         {"play",
          "Plays a pattern: steps LEDS:MS apart by spaces, LEDS any of n, c, s or - for none, "
          "lit for 10 to 60000 ms; (...)xN repeats a group 1 to 1000 times.",
          "PATTERN"}},
        {Command::Morse, {"morse", "Sends TEXT in Morse code on one LED.", "TEXT"}},
        {Command::Set,
         {"set", "Sets the locks named and leaves them so, as in num=on,caps=off.", "LOCKS"}},
        {Command::State, {"state", "Prints the lock states, as in num=on caps=off scroll=off."}},
        {Command::Stop, {"stop", "Stops what the running Tintaro does."}},
    };
}

struct Modifier {
    QCommandLineOption option;
    QList<Command> goesWith;
};

QList<Modifier> modifiers() {
    return {
        {{"speed",
          "Effect: the tick interval, 100 to 5000 ms (default 150). Blink: how long the LEDs "
          "stay lit and then dark, 100 to 5000 ms (default 1000).",
          "MS"},
         {Command::Effect, Command::Blink}},
        {{"for", "Ends the effect or blinking after SECONDS.", "SECONDS"},
         {Command::Effect, Command::Blink}},
        {{"count", "Blinks N times (on and off), then ends.", "N"}, {Command::Blink}},
        {{"led", "The LED for Morse code: num, caps or scroll (default scroll).", "LED"},
         {Command::Morse}},
        {{"unit", "The Morse unit, 10 to 5000 ms (default 120).", "MS"}, {Command::Morse}},
    };
}

struct Parser {
    QCommandLineParser parser;
    QList<CommandOption> commands = commandOptions();
    QList<Modifier> modifierList = modifiers();

    Parser() {
        parser.addHelpOption();
        parser.addVersionOption();
        for (const CommandOption& command : commands)
            parser.addOption(command.option);
        for (const Modifier& modifier : modifierList)
            parser.addOption(modifier.option);
    }
};

QString dashed(const QCommandLineOption& option) {
    return "--" + option.names().constLast();
}

// A whole number from `least` on; none when it is not one.
std::optional<uint> wholeNumber(const QString& text, uint least) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    return ok && value >= least ? std::optional(value) : std::nullopt;
}

QString checkedMessage(const auto& checked) {
    if (const auto* error = std::get_if<ScriptError>(&checked))
        return error->message;
    return {};
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    Parser p;
    CommandLine result;
    Request& request = result.request;
    const auto fail = [&result](const QString& message) {
        result.error = message;
        return result;
    };
    if (!p.parser.parse(QStringList{"tintaro"} + arguments))
        return fail(p.parser.errorText().remove(QRegularExpression("\\.$")));
    if (p.parser.isSet("help") || p.parser.isSet("help-all"))
        return result;
    if (p.parser.isSet("version")) {
        request.command = Command::Version;
        return result;
    }
    if (!p.parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"")
                        .arg(p.parser.positionalArguments().constFirst()));

    const CommandOption* chosen = nullptr;
    for (const CommandOption& command : p.commands) {
        if (!p.parser.isSet(command.option))
            continue;
        if (chosen)
            return fail(QStringLiteral("%1 and %2 cannot go together")
                            .arg(dashed(chosen->option), dashed(command.option)));
        chosen = &command;
    }
    if (!chosen)
        return fail(QStringLiteral("name a command: --effect, --blink, --play, --morse, --set, "
                                   "--state, --stop or --list-effects (--help tells more)"));
    request.command = chosen->command;
    const QString option = dashed(chosen->option);
    const QStringList values = p.parser.values(chosen->option);
    if (values.size() > 1)
        return fail(option + " is given twice");
    const QString value = values.value(0);

    for (const Modifier& modifier : p.modifierList) {
        if (!p.parser.isSet(modifier.option))
            continue;
        if (!modifier.goesWith.contains(request.command))
            return fail(
                QStringLiteral("%1 does not go with %2").arg(dashed(modifier.option), option));
        if (p.parser.values(modifier.option).size() > 1)
            return fail(dashed(modifier.option) + " is given twice");
    }
    const auto number = [&](const char* name, uint least, uint& into) {
        if (!p.parser.isSet(name))
            return true;
        const std::optional<uint> n = wholeNumber(p.parser.value(name), least);
        into = n.value_or(0);
        return n.has_value();
    };
    if (!number("speed", 1, request.speedMs))
        return fail("--speed takes a whole number of milliseconds");
    if (!number("unit", 1, request.unitMs))
        return fail("--unit takes a whole number of milliseconds");
    if (!number("count", 1, request.count))
        return fail("--count takes a whole number from 1 on");
    if (p.parser.isSet("for")) {
        if (p.parser.isSet("count"))
            return fail("--count and --for cannot go together");
        bool ok = false;
        const double seconds = p.parser.value("for").toDouble(&ok);
        // The timer counts whole milliseconds in an int: up to about 24 days.
        if (!ok || !std::isfinite(seconds) || seconds < 0.001 || seconds > 2'000'000)
            return fail("--for takes a number of seconds from 0.001 to 2000000");
        request.forMs = int(std::lround(seconds * 1000));
    }

    QString error;
    switch (request.command) {
    case Command::Effect:
        request.name = value;
        error = checkedMessage(checkEffect(value, request.speedMs));
        break;
    case Command::Blink:
        request.name = value;
        error = checkedMessage(checkBlink(value, request.speedMs, request.count));
        break;
    case Command::Play:
        request.text = value;
        error = checkedMessage(checkPlay(value));
        break;
    case Command::Morse:
        request.text = value;
        request.name = p.parser.value("led");
        error = checkedMessage(checkMorse(value, request.name, request.unitMs));
        break;
    case Command::Set:
        request.text = value;
        error = checkedMessage(checkSetLocks(value));
        break;
    default:
        break;
    }
    if (!error.isEmpty())
        return fail(option + ": " + error);
    return result;
}

QString helpText() {
    Parser p;
    QString options = p.parser.helpText();
    options = options.section('\n', 1); // Qt's usage line names the program as it was called
    return QStringLiteral(
               "Usage: tintaro                  the window\n"
               "       tintaro COMMAND [OPTIONS] drive the LEDs from a script\n"
               "       tintaro [--tray] [--announce-locks] [--follow-notifications ...]\n"
               "                                the window, with lights as signals: tintaro(1)\n"
               "Without a window, a command is handed to the running Tintaro, or runs alone\n"
               "and leaves each lock as it found it (but --set). Exit status: 0 done, 1 the\n"
               "keyboard could not be reached, 2 bad usage.\n") +
           options;
}
