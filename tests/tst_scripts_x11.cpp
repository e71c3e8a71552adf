// Commands from a script, run as a shell would run them, on a real X server and a private
// session bus, watched from outside: the indicators, the exit status and output, the name and
// interface on the bus.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
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
        return QDBusInterface(Name, Path, Interface)
            .callWithArgumentList(QDBus::Block, method, arguments);
    }

    static QVariant property(const char* name) {
        return QDBusInterface(Name, Path, Interface).property(name);
    }

private slots:
    void initTestCase() {
        QVERIFY2(asFound.startsWith("lit 0, locked 0, down []"), qPrintable(asFound));
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        qputenv("TINTARO_KEYBOARD", "x11");
        QDBusConnection::sessionBus().connect(
            Name, Path, "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
            SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }

    void cleanup() { QCOMPARE(x.state(), asFound); }

    // --set leaves the locks so, and --state reads what the server shows: run by itself, with
    // or without the bus, or handed to a copy holding the name.
    void setAndStateAgreeWithTheServer_data() {
        QTest::addColumn<bool>("owner");
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("alone") << false << QStringList();
        QTest::newRow("alone, no bus") << false << QStringList{"-u", "DBUS_SESSION_BUS_ADDRESS"};
        QTest::newRow("handed to the running copy") << true << QStringList();
    }

    void setAndStateAgreeWithTheServer() {
        QFETCH(bool, owner);
        QFETCH(QStringList, environment);
        QProcess running;
        if (owner)
            QVERIFY(startOwner(running, {"--blink", "scroll", "--speed", "5000"}));
        QCOMPARE(run({"--set", "num=on,caps=on"}, environment).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Num Lock") && x.lit("Caps Lock"); }));
        QCOMPARE(
            run({"--state"}, environment).out,
            QStringLiteral("num=on caps=on scroll=%1\n").arg(x.lit("Scroll Lock") ? "on" : "off"));
        QCOMPARE(run({"--set", "NUM=off,caps=off"}, environment).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return !x.lit("Num Lock") && !x.lit("Caps Lock"); }));
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
        QCOMPARE(run({"--play", "c:300"}).status, 0);
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Running") == ""; }, 2000));
        QVERIFY(ended(owner)); // the pattern ended what it ran, and then the copy

        QVERIFY(startOwner(owner, {"--blink", "scroll", "--speed", "300"}));
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Scroll") == true; }, 1000));
        QCOMPARE(property("Scroll").toBool(), true);
        QVERIFY(QTest::qWaitFor([&] { return changed.value("Scroll") == false; }, 1000));
        QCOMPARE(property("Running").toString(), "blink");
        QCOMPARE(run({"--stop"}).status, 0);
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
        QVERIFY(refused.err.startsWith("tintaro: ") && refused.err.count('\n') == 1);
        window.terminate();
        QVERIFY(window.waitForFinished(5000));
        QVERIFY(QTest::qWaitFor(
            [] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(Name); }));

        QVERIFY(startOwner(window, {}));
        QTest::qWait(200); // the start-up reset
        QCOMPARE(run({"--effect", "walk", "--speed", "200"}).status, 0);
        QCOMPARE(property("Running").toString(), "effect Walk");
        QVERIFY(QTest::qWaitFor(
            [&] { return x.lit("Num Lock") && x.lit("Scroll Lock") && !x.lit("Caps Lock"); },
            1000));
        QCOMPARE(run({"--stop"}).status, 0);
        QCOMPARE(property("Running").toString(), "");
        QVERIFY(QTest::qWaitFor([&] { return x.state().startsWith("lit 0,"); }, 1000));
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
