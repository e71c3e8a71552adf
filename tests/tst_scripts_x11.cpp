// Commands from a script, run as a shell would run them, on a real X server and a private
// session bus, watched from outside: the indicators, the exit status and output, the name and
// interface on the bus.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

// Xlib's macros (None, Bool, Status, ...) clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/keysym.h>

namespace {

const QString Name = "org.tintaro.Tintaro";
const QString Path = "/org/tintaro/Tintaro";
const QString Interface = "org.tintaro.Tintaro.Leds";

struct Run {
    int status;
    QString out;
    QString err;
};

} // namespace

class ScriptsX11Test : public QObject {
    Q_OBJECT

    X11Observer x;
    const QString asFound = x.dpy ? x.state() : QString();
    QVariantMap changed; // the last PropertiesChanged

    // The indicators as "ncs", "-" for none.
    QString lit() const {
        QString names;
        for (const char* indicator : {"Num Lock", "Caps Lock", "Scroll Lock"})
            if (x.lit(indicator))
                names += QChar(indicator[0]).toLower();
        return names.isEmpty() ? "-" : names;
    }

    static Run run(const QStringList& arguments, const QStringList& environment = {}) {
        QProcess program;
        program.start("env", environment + QStringList{TINTARO_BINARY} + arguments);
        const bool ended = program.waitForFinished(10000);
        return {ended ? program.exitCode() : -1,
                QString::fromLocal8Bit(program.readAllStandardOutput()),
                QString::fromLocal8Bit(program.readAllStandardError())};
    }

    // Starts a copy that holds the name on the bus, and waits until it does.
    static bool startOwner(QProcess& program, const QStringList& arguments,
                           const QStringList& environment = {}) {
        program.start("env", environment + QStringList{TINTARO_BINARY} + arguments);
        return QTest::qWaitFor(
            [] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(Name); },
            5000);
    }

    static bool ended(QProcess& program) {
        return (program.state() == QProcess::NotRunning || program.waitForFinished(5000)) &&
               program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
    }

    static QDBusMessage call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(Name, Path, Interface, method);
        message.setArguments(arguments);
        return QDBusConnection::sessionBus().call(message);
    }

    static QVariant property(const QString& name) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(Name, Path, "org.freedesktop.DBus.Properties", "Get");
        message << Interface << name;
        const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

private slots:
    void initTestCase() {
        QVERIFY2(asFound.startsWith("lit 0, locked 0, down []"),
                 qPrintable("as found: " + asFound));
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        qputenv("TINTARO_KEYBOARD", "x11");
        QDBusConnection::sessionBus().connect(
            Name, Path, "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
            SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }

    void cleanup() { QCOMPARE(x.state(), asFound); }

    // Without a window and without the bus, each step shows on the server in turn (their times
    // are the light player's, checked on a virtual clock), and the locks end as found: Caps lit
    // before, and lit after.
    void windowlessPlayShowsItsSteps() {
        x.tap(XK_Caps_Lock);
        QVERIFY(QTest::qWaitFor([&] { return lit() == "c"; }));
        QProcess program;
        QElapsedTimer clock;
        program.start("env", {"-u", "DBUS_SESSION_BUS_ADDRESS", TINTARO_BINARY, "--play",
                              "n:100 (s:50 ncs:150)x2 -:100"});
        QStringList changes;
        QString shown = lit();
        qint64 last = -1;
        for (clock.start(); !clock.hasExpired(3000); QTest::qSleep(1)) {
            const QString now = lit();
            if (now == shown)
                continue;
            // The strokes of one step may be seen one by one: one change, at its first.
            if (last >= 0 && clock.elapsed() - last <= 3)
                changes.removeLast();
            else
                last = clock.elapsed();
            changes << now;
            shown = now;
        }
        QVERIFY(ended(program));
        QCOMPARE(changes, QStringList({"n", "s", "ncs", "s", "ncs", "-", "c"}));
        x.tap(XK_Caps_Lock);
    }

    // --set leaves the locks so, and --state reads what the server shows, with and without a
    // copy holding the name.
    void setAndStateAgreeWithTheServer_data() {
        QTest::addColumn<bool>("owner");
        QTest::newRow("alone") << false;
        QTest::newRow("handed to the running copy") << true;
    }

    void setAndStateAgreeWithTheServer() {
        QFETCH(bool, owner);
        QProcess running;
        if (owner)
            QVERIFY(startOwner(running, {"--blink", "scroll", "--speed", "5000"}));
        const auto state = [&] {
            return QStringLiteral("num=%1 caps=%2 scroll=%3\n")
                .arg(x.lit("Num Lock") ? "on" : "off", x.lit("Caps Lock") ? "on" : "off",
                     x.lit("Scroll Lock") ? "on" : "off");
        };
        QCOMPARE(run({"--set", "num=on,caps=on"}).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Num Lock") && x.lit("Caps Lock"); }));
        QCOMPARE(run({"--state"}).out, state());
        QCOMPARE(run({"--set", "NUM=on,caps=off"}).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Num Lock") && !x.lit("Caps Lock"); }));
        QCOMPARE(run({"--state"}).out, state());
        QCOMPARE(run({"--set", "num=off"}).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return !x.lit("Num Lock"); }));
        if (owner) {
            QCOMPARE(run({"--stop"}).status, 0);
            QVERIFY(ended(running));
        }
    }

    // A later command reaches the copy that holds the name; its properties follow, with their
    // change signal; --stop ends it, and a --stop with nothing running says so.
    void secondCommandReachesTheRunningCopy() {
        QProcess owner;
        QVERIFY(startOwner(owner, {"--effect", "all", "--speed", "5000"}));
        QCOMPARE(property("Running").toString(), "effect All");
        changed.clear();
        Run played = run({"--play", "c:300"});
        QCOMPARE(played.status, 0);
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Running") == ""; }, 2000));
        QVERIFY(ended(owner)); // the pattern ended what it ran, and then the copy

        QVERIFY(startOwner(owner, {"--blink", "scroll", "--speed", "300"}));
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Scroll") == true; }, 1000));
        QCOMPARE(property("Scroll").toBool(), true);
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Scroll") == false; }, 1000));
        QCOMPARE(property("Running").toString(), "blink");
        const Run stop = run({"--stop"});
        QCOMPARE(stop.status, 0);
        QVERIFY(ended(owner));
        const Run again = run({"--stop"});
        QCOMPARE(again.status, 0);
        QVERIFY2(again.err.startsWith("tintaro: no Tintaro is running"), qPrintable(again.err));
    }

    // Each refusal comes as its D-Bus error; on the command line, bad usage exits 2.
    void errorNames_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown effect")
            << "StartEffect" << QVariantList{"Moonwalk", 0u} << "UnknownEffect";
        QTest::newRow("bad pattern") << "Play" << QVariantList{"n:100 (c:5)x2"} << "BadPattern";
        QTest::newRow("speed out of range")
            << "Blink" << QVariantList{"num", 50u, 1u} << "BadArgument";
        QTest::newRow("no Morse code") << "Morse" << QVariantList{"#", "", 0u} << "BadArgument";
        QTest::newRow("bad lock") << "SetLocks" << QVariantList{"numb=on"} << "BadArgument";
    }

    void errorNames() {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, error);
        QProcess owner;
        QVERIFY(startOwner(owner, {"--effect", "walk", "--for", "5"}));
        const QDBusMessage reply = call(method, arguments);
        QCOMPARE(reply.errorName(), "org.tintaro.Tintaro.Error." + error);
        QVERIFY(!reply.errorMessage().isEmpty());
        QCOMPARE(property("Running").toString(), "effect Walk");
        QCOMPARE(run({"--effect", "moonwalk"}).status, 2);
        call("Stop");
        QVERIFY(ended(owner));
    }

    // A window on a keyboard that cannot reach the LEDs refuses every command; one on the real
    // keyboard takes an effect as from its own controls.
    void handedToTheWindow() {
        QProcess window;
        QVERIFY(startOwner(window, {}, {"TINTARO_KEYBOARD=simulated"}));
        QCOMPARE(call("Play", {"n:100"}).errorName(), "org.tintaro.Tintaro.Error.NoKeyboard");
        const Run refused = run({"--blink", "num", "--count", "1"});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.startsWith("tintaro: ") && refused.err.count('\n') == 1,
                 qPrintable(refused.err));
        window.terminate();
        QVERIFY(window.waitForFinished(5000));
        QVERIFY(QTest::qWaitFor(
            [] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(Name); }));

        QVERIFY(startOwner(window, {}));
        QTest::qWait(200); // the start-up reset
        changed.clear();
        QCOMPARE(run({"--effect", "walk", "--speed", "200"}).status, 0);
        QCOMPARE(property("Running").toString(), "effect Walk");
        QVERIFY(QTest::qWaitFor([&] { return lit() == "ns"; }, 1000));
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Scroll") == true; }, 1000));
        QCOMPARE(run({"--stop"}).status, 0);
        QCOMPARE(property("Running").toString(), "");
        QVERIFY(QTest::qWaitFor([&] { return lit() == "-"; }, 1000));
        window.terminate();
        QVERIFY(window.waitForFinished(5000));
    }

    void propertiesChanged(const QString& interface, const QVariantMap& properties,
                           const QStringList&) {
        if (interface == Interface)
            for (auto it = properties.begin(); it != properties.end(); ++it)
                changed.insert(it.key(), it.value());
    }
};

QTEST_GUILESS_MAIN(ScriptsX11Test)
#include "tst_scripts_x11.moc"
