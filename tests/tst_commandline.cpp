// The command line to the request it makes, or to the one line that says what is wrong.

#include "scripts/commandline.h"

#include "tests/textrow.h"

namespace {

// "effect name=Walk speed=100 for=500": the command and the fields given.
QString described(const Request& r) {
    static const char* const Commands[] = {"help", "version", "list", "effect", "blink",
                                           "play", "morse",   "set",  "state",  "stop"};
    QStringList words{Commands[int(r.command)]};
    const std::pair<const char*, QString> fields[] = {{"name", r.name},
                                                      {"text", r.text},
                                                      {"speed", QString::number(r.speedMs)},
                                                      {"count", QString::number(r.count)},
                                                      {"unit", QString::number(r.unitMs)},
                                                      {"for", QString::number(r.forMs)}};
    for (const auto& [field, value] : fields)
        if (!value.isEmpty() && value != "0")
            words << QStringLiteral("%1=%2").arg(field, value);
    return words.join(' ');
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    // Arguments split at '|'. tst_scripts_x11 runs --set, --state and --stop.
    void requestOrError_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        textRow("help", "--help", "help");
        textRow("version", "-v", "version");
        textRow("list", "--list-effects", "list");
        textRow("effect, any case, defaults", "--effect|knight rider", "effect name=knight rider");
        textRow("effect at the fastest, for a time", "--effect=Walk|--speed|100|--for|0.5",
                "effect name=Walk speed=100 for=500");
        textRow("effect, slowest, for long", "--speed=5000|--effect|run|--for|2000000",
                "effect name=run speed=5000 for=2000000000");
        textRow("blink counted", "--blink|num,scroll|--count|1", "blink name=num,scroll count=1");
        textRow("play", "--play|(n:100 c:100)x5 -:300", "play text=(n:100 c:100)x5 -:300");
        textRow("morse, defaults", "--morse|sos", "morse text=sos");
        textRow("morse, LED and unit", "--morse|hi there|--led|num|--unit|10",
                "morse name=num text=hi there unit=10");

        textRow("no command", "--speed|100",
                "name a command: --effect, --blink, --play, --morse, --set, --state, --stop or "
                "--list-effects (--help tells more)");
        textRow("unknown option", "--blinky", "Unknown option 'blinky'");
        textRow("two commands", "--state|--stop", "--state and --stop cannot go together");
        textRow("stray argument", "--state|now", "unexpected argument \"now\"");
        textRow("unknown effect", "--effect|Moonwalk",
                "--effect: no effect is named \"Moonwalk\"; the effects are: All, Knight Rider, "
                "Landing, Rock you, Run, Speedup, Traffic light, Walk");
        textRow("speed too fast", "--effect|all|--speed|99",
                "--effect: speed 99 is outside 100 to 5000");
        textRow("speed too slow", "--blink|num|--speed|5001",
                "--blink: speed 5001 is outside 100 to 5000");
        textRow("speed no number", "--effect|all|--speed|fast",
                "--speed takes a whole number of milliseconds");
        textRow("count 0", "--blink|num|--count|0", "--count takes a whole number from 1 on");
        textRow("count and for", "--blink|num|--count|2|--for|1",
                "--count and --for cannot go together");
        const QString forRange = "--for takes a number of seconds from 0.001 to 2000000";
        textRow("for 0", "--effect|all|--for|0", forRange);
        textRow("for too long", "--effect|all|--for|2000001", forRange);
        textRow("count with an effect", "--effect|all|--count|2",
                "--count does not go with --effect");
        textRow("unit with play", "--play|n:10|--unit|10", "--unit does not go with --play");
        textRow("unknown LED", "--blink|num,cops",
                "--blink: \"cops\" is no LED: use num, caps or scroll");
        textRow("LED twice", "--blink|num,NUM", "--blink: NUM is named twice");
        textRow("morse unit", "--morse|e|--unit|5001", "--morse: unit 5001 is outside 10 to 5000");
        textRow("morse LED", "--morse|e|--led|all",
                "--morse: \"all\" is no LED: use num, caps or scroll");
        textRow("set value", "--set|num=yes", "--set: \"num=yes\" is not LED=on or LED=off");
        textRow("set twice", "--set|caps=on,caps=off", "--set: caps is named twice");
        textRow("command twice", "--play|n:10|--play|c:10", "--play is given twice");
    }

    void requestOrError() {
        QFETCH(QString, arguments);
        const CommandLine line = parseCommandLine(arguments.split('|'));
        QTEST(line.error.isEmpty() ? described(line.request) : line.error, "expected");
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
