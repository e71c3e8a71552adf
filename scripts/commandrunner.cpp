#include "scripts/commandrunner.h"

#include "platform/intervaltimer.h"
#include "platform/keyboardfactory.h"
#include "platform/programidentity.h"
#include "platform/qtclock.h"
#include "platform/quitrequests.h"
#include "platform/session.h"
#include "scripts/commandline.h"
#include "scripts/ledsbus.h"
#include "scripts/windowlessleds.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

#include <cstdio>

namespace {

using Command = Request::Command;
constexpr int Done = 0, Unreachable = 1, Refused = 2;
constexpr int WatchInterval = 50;

void print(FILE* stream, const QString& line) {
    std::fprintf(stream, "%s\n", qPrintable(line));
}

int said(int status, const QString& line) {
    print(status == Done ? stdout : stderr, status == Done ? line : "tintaro: " + line);
    return status;
}

// Starts what the request asks for on `leds`: checked already by the command line.
void startRequest(LedService& leds, const Request& r) {
    switch (r.command) {
    case Command::Effect:
        leds.startEffect(std::get<EffectCall>(checkEffect(r.name, r.speedMs)));
        break;
    case Command::Blink:
        leds.playLights(std::get<LightSequence>(checkBlink(r.name, r.speedMs, r.count)), "blink");
        break;
    case Command::Play:
        leds.playLights(std::get<LightSequence>(checkPlay(r.text)), "pattern");
        break;
    case Command::Morse:
        leds.playLights(std::get<LightSequence>(checkMorse(r.text, r.name, r.unitMs)), "morse");
        break;
    default:
        break;
    }
}

// The copy that owns the name, reached over the bus.
class RunningCopy {
public:
    explicit RunningCopy(const QDBusConnection& bus) : m_bus(bus) {}

    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) const {
        QDBusMessage message = QDBusMessage::createMethodCall(ApplicationId, LedsBus::objectPath(),
                                                              LedsBus::interfaceName(), method);
        message.setArguments(arguments);
        return m_bus.call(message);
    }

    QVariantMap properties() const {
        QDBusMessage message = QDBusMessage::createMethodCall(
            ApplicationId, LedsBus::objectPath(), "org.freedesktop.DBus.Properties", "GetAll");
        message << LedsBus::interfaceName();
        const QDBusReply<QVariantMap> reply = m_bus.call(message);
        return reply.isValid() ? reply.value() : QVariantMap();
    }

    QString running() const { return properties().value("Running").toString(); }

private:
    QDBusConnection m_bus;
};

// A refusal by the running copy, or a bus that did not carry the call.
int failed(const QDBusMessage& reply) {
    const bool refused = reply.errorName().startsWith(QLatin1String(ApplicationId)) &&
                         !reply.errorName().endsWith("NoKeyboard");
    return said(refused ? Refused : Unreachable, reply.errorMessage());
}

// Waits, on the event loop, until what the running copy runs is no longer `what` (or `ms` have
// passed, when it is above 0); a signal to this command stops it there.
void waitWhileRunning(const RunningCopy& copy, const QString& what, int ms,
                      QuitRequests& quitRequests) {
    QtClock clock;
    IntervalTimer watch(clock), deadline(clock);
    bool stop = false;
    QObject::connect(&watch, &IntervalTimer::Timer, [&] {
        if (copy.running() != what)
            QCoreApplication::quit();
    });
    QObject::connect(&deadline, &IntervalTimer::Timer, [&] {
        stop = true;
        QCoreApplication::quit();
    });
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, [&] {
        stop = true;
        QCoreApplication::quit();
    });
    watch.setInterval(WatchInterval);
    watch.setEnabled(true);
    deadline.setInterval(ms);
    deadline.setEnabled(ms > 0);
    QCoreApplication::exec();
    if (stop && copy.running() == what)
        copy.call("Stop");
}

int forward(const QDBusConnection& bus, const Request& r, QuitRequests& quitRequests) {
    const RunningCopy copy(bus);
    QDBusMessage reply;
    switch (r.command) {
    case Command::State: {
        const QVariantMap properties = copy.properties();
        if (properties.isEmpty())
            return said(Unreachable, "the running Tintaro did not answer");
        return said(Done, describeLocks({properties.value("Num").toBool(),
                                         properties.value("Caps").toBool(),
                                         properties.value("Scroll").toBool()}));
    }
    case Command::Stop:
        if (copy.running().isEmpty()) {
            print(stderr, "tintaro: nothing is running");
            return Done;
        }
        reply = copy.call("Stop");
        break;
    case Command::Set:
        reply = copy.call("SetLocks", {r.text});
        break;
    case Command::Effect:
        reply = copy.call("StartEffect", {r.name, r.speedMs});
        break;
    case Command::Blink:
        reply = copy.call("Blink", {r.name, r.speedMs, r.count});
        break;
    case Command::Play:
        reply = copy.call("Play", {r.text});
        break;
    case Command::Morse:
        reply = copy.call("Morse", {r.text, r.name, r.unitMs});
        break;
    default:
        break;
    }
    if (reply.type() == QDBusMessage::ErrorMessage)
        return failed(reply);
    // An effect, or blinking without a count, runs on in the copy unless a time is given.
    const bool endless = r.command == Command::Effect || (r.command == Command::Blink && !r.count);
    const bool lasts = r.command == Command::Play || r.command == Command::Morse ||
                       r.command == Command::Blink || r.command == Command::Effect;
    if (lasts && (!endless || r.forMs > 0))
        waitWhileRunning(copy, copy.running(), r.forMs, quitRequests);
    return Done;
}

int runHere(const QDBusConnection& bus, const Request& r, QuitRequests& quitRequests) {
    QtClock clock;
    const Session session = Session::fromEnvironment();
    const KeyboardChoice keyboard = chooseKeyboard(session, systemKeyboards(clock, session));
    // The simulated keyboard runs only when asked for by name, as the tests do.
    if (!keyboard.unreachable.isEmpty() && session.forcedKeyboard != "simulated")
        return said(Unreachable, "cannot reach the keyboard's lock LEDs: " + keyboard.unreachable);
    if (keyboard.unreachable.isEmpty() && !keyboard.notice.isEmpty())
        print(stderr, "tintaro: " + keyboard.notice); // what it cannot do, as Scroll Lock
    quitRequests.watch(*keyboard.keyboard);
    if (r.command == Command::State)
        return said(Done, describeLocks(readLocks(*keyboard.keyboard)));
    if (r.command == Command::Set) {
        setLocks(*keyboard.keyboard, std::get<LockChoice>(checkSetLocks(r.text)));
        return Done;
    }

    WindowlessLeds leds(*keyboard.keyboard, clock);
    LedsBus published(leds);
    // Another command may have taken the name since it was looked for. The states are read
    // only for those who may watch them on the bus.
    if (bus.isConnected()) {
        if (!published.publish(bus))
            return forward(bus, r, quitRequests);
        leds.startPolling();
    }
    IntervalTimer deadline(clock);
    QObject::connect(&deadline, &IntervalTimer::Timer, &QCoreApplication::quit);
    QObject::connect(&leds, &WindowlessLeds::finished, &QCoreApplication::quit);
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, &QCoreApplication::quit);
    deadline.setInterval(r.forMs);
    deadline.setEnabled(r.forMs > 0);
    startRequest(leds, r);
    QCoreApplication::exec();
    leds.stop();
    published.announceChanges(leds.lockStates());
    return quitRequests.exitStatus();
}

} // namespace

int runCommand(const Request& r) {
    switch (r.command) {
    case Command::Help:
        std::fputs(qPrintable(helpText()), stdout);
        return Done;
    case Command::Version:
        return said(Done, QStringLiteral("tintaro %1").arg(ProgramVersion));
    case Command::ListEffects:
        for (const char* name : EffectNames)
            print(stdout, name);
        return Done;
    default:
        break;
    }
    // Before the keyboard is touched, so that a signal at any moment still ends in the cleanup.
    QuitRequests quitRequests;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(ApplicationId))
        return forward(bus, r, quitRequests);
    if (r.command == Command::Stop) {
        print(stderr, "tintaro: no Tintaro is running, so nothing is stopped");
        return Done;
    }
    return runHere(bus, r, quitRequests);
}
