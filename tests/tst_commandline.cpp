// The command line to the request it makes, or to the one line that says what is wrong.

#include "scripts/commandline.h"

#include <QTest>

using Command = Request::Command;
Q_DECLARE_METATYPE(Request)

namespace {

Request request(Command command, QString name = {}, QString text = {}) {
    Request r;
    r.command = command;
    r.name = std::move(name);
    r.text = std::move(text);
    return r;
}

Request with(Request r, uint speed, uint count, uint unit, int forMs) {
    r.speedMs = speed;
    r.count = count;
    r.unitMs = unit;
    r.forMs = forMs;
    return r;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void goodCommand_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<Request>("expected");
        QTest::newRow("help") << "--help" << request(Command::Help);
        QTest::newRow("version") << "-v" << request(Command::Version);
        QTest::newRow("list") << "--list-effects" << request(Command::ListEffects);
        QTest::newRow("effect, any case, defaults")
            << "--effect|knight rider" << request(Command::Effect, "knight rider");
        QTest::newRow("effect at both speed ends, for a time")
            << "--effect=Walk|--speed|100|--for|0.5"
            << with(request(Command::Effect, "Walk"), 100, 0, 0, 500);
        QTest::newRow("effect, slowest, for long")
            << "--speed=5000|--effect|run|--for|2000000"
            << with(request(Command::Effect, "run"), 5000, 0, 0, 2'000'000'000);
        QTest::newRow("blink counted") << "--blink|num,scroll|--count|1"
                                       << with(request(Command::Blink, "num,scroll"), 0, 1, 0, 0);
        QTest::newRow("blink for a time") << "--blink|caps|--speed|250|--for|3"
                                          << with(request(Command::Blink, "caps"), 250, 0, 0, 3000);
        QTest::newRow("play") << "--play|(n:100 c:100)x5 -:300"
                              << request(Command::Play, {}, "(n:100 c:100)x5 -:300");
        QTest::newRow("morse, defaults") << "--morse|sos" << request(Command::Morse, {}, "sos");
        QTest::newRow("morse, LED and unit")
            << "--morse|hi there|--led|num|--unit|10"
            << with(request(Command::Morse, "num", "hi there"), 0, 0, 10, 0);
        QTest::newRow("set") << "--set|num=on,caps=off"
                             << request(Command::Set, {}, "num=on,caps=off");
        QTest::newRow("state") << "--state" << request(Command::State);
        QTest::newRow("stop") << "--stop" << request(Command::Stop);
    }

    void goodCommand() {
        QFETCH(QString, arguments);
        QFETCH(Request, expected);
        const CommandLine line = parseCommandLine(arguments.split('|'));
        QCOMPARE(line.error, QString());
        QVERIFY(line.request == expected);
    }

    void badUsage_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("no command") << "--speed|100"
                                    << "name a command: --effect, --blink, --play, --morse, "
                                       "--set, --state, --stop or --list-effects (--help tells "
                                       "more)";
        QTest::newRow("unknown option") << "--blinky"
                                        << "Unknown option 'blinky'";
        QTest::newRow("missing value") << "--effect"
                                       << "Missing value after '--effect'";
        QTest::newRow("two commands") << "--state|--stop"
                                      << "--state and --stop cannot go together";
        QTest::newRow("stray argument") << "--state|now"
                                        << "unexpected argument \"now\"";
        QTest::newRow("unknown effect")
            << "--effect|Moonwalk"
            << "--effect: no effect is named \"Moonwalk\"; the effects are: All, Knight Rider, "
               "Landing, Rock you, Run, Speedup, Traffic light, Walk";
        QTest::newRow("speed too fast") << "--effect|all|--speed|99"
                                        << "--effect: speed 99 is outside 100 to 5000";
        QTest::newRow("speed too slow") << "--blink|num|--speed|5001"
                                        << "--blink: speed 5001 is outside 100 to 5000";
        QTest::newRow("speed no number") << "--effect|all|--speed|fast"
                                         << "--speed takes a whole number of milliseconds";
        QTest::newRow("count 0") << "--blink|num|--count|0"
                                 << "--count takes a whole number from 1 on";
        QTest::newRow("count and for") << "--blink|num|--count|2|--for|1"
                                       << "--count and --for cannot go together";
        QTest::newRow("for 0") << "--effect|all|--for|0"
                               << "--for takes a number of seconds from 0.001 to 2000000";
        QTest::newRow("for too long") << "--effect|all|--for|2000001"
                                      << "--for takes a number of seconds from 0.001 to 2000000";
        QTest::newRow("count with an effect") << "--effect|all|--count|2"
                                              << "--count does not go with --effect";
        QTest::newRow("unit with play") << "--play|n:10|--unit|10"
                                        << "--unit does not go with --play";
        QTest::newRow("unknown LED") << "--blink|num,cops"
                                     << "--blink: \"cops\" is no LED: use num, caps or scroll";
        QTest::newRow("LED twice") << "--blink|num,NUM"
                                   << "--blink: NUM is named twice";
        QTest::newRow("pattern with column") << "--play|n:100 q:5"
                                             << "--play: column 7: expected LEDs (n, c, s or -) "
                                                "or '('";
        QTest::newRow("morse unit") << "--morse|e|--unit|5001"
                                    << "--morse: unit 5001 is outside 10 to 5000";
        QTest::newRow("morse LED") << "--morse|e|--led|all"
                                   << "--morse: \"all\" is no LED: use num, caps or scroll";
        QTest::newRow("set value") << "--set|num=yes"
                                   << "--set: \"num=yes\" is not LED=on or LED=off";
        QTest::newRow("set twice") << "--set|caps=on,caps=off"
                                   << "--set: caps is named twice";
        QTest::newRow("command twice") << "--play|n:10|--play|c:10"
                                       << "--play is given twice";
    }

    void badUsage() {
        QFETCH(QString, arguments);
        QFETCH(QString, error);
        QCOMPARE(parseCommandLine(arguments.split('|')).error, error);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
