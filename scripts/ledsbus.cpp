#include "scripts/ledsbus.h"

#include "platform/programidentity.h"
#include "scripts/ledsadaptor.h"
#include "scripts/ledservice.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

LedsBus::LedsBus(LedService& service, QObject* parent) : QObject(parent), m_service(service) {
    new LedsAdaptor(this);
    connect(&m_service, &LedService::polled, this, &LedsBus::announceChanges);
}

QString LedsBus::objectPath() {
    return '/' + QString::fromLatin1(ApplicationId).replace('.', '/');
}

QString LedsBus::interfaceName() {
    return QString::fromLatin1(ApplicationId) + ".Leds";
}

bool LedsBus::publish(const QDBusConnection& bus) {
    QDBusConnection connection = bus;
    if (!connection.registerObject(objectPath(), this))
        return false;
    if (!connection.registerService(QString::fromLatin1(ApplicationId))) {
        connection.unregisterObject(objectPath());
        return false;
    }
    m_bus = connection;
    m_announced = m_service.lockStates();
    m_announcedRunning = m_service.running();
    return true;
}

bool LedsBus::num() const {
    return m_service.lockStates()[indexOf(LockKey::Num)];
}

bool LedsBus::caps() const {
    return m_service.lockStates()[indexOf(LockKey::Caps)];
}

bool LedsBus::scroll() const {
    return m_service.lockStates()[indexOf(LockKey::Scroll)];
}

QString LedsBus::running() const {
    return m_service.running();
}

void LedsBus::StartEffect(const QString& name, uint speedMs) {
    runChecked(checkEffect(name, speedMs),
               [this](const EffectCall& call) { m_service.startEffect(call); });
}

void LedsBus::Blink(const QString& leds, uint periodMs, uint count) {
    runChecked(checkBlink(leds, periodMs, count),
               [this](const LightSequence& blink) { m_service.playLights(blink, "blink"); });
}

void LedsBus::Play(const QString& pattern) {
    runChecked(checkPlay(pattern),
               [this](const LightSequence& steps) { m_service.playLights(steps, "pattern"); });
}

void LedsBus::Morse(const QString& text, const QString& led, uint unitMs) {
    runChecked(checkMorse(text, led, unitMs),
               [this](const LightSequence& code) { m_service.playLights(code, "morse"); });
}

void LedsBus::SetLocks(const QString& locks) {
    runChecked(checkSetLocks(locks),
               [this](const LockChoice& choice) { m_service.setLockStates(choice); });
}

void LedsBus::Stop() {
    if (reachable())
        m_service.stop();
}

template <class T, class Start> void LedsBus::runChecked(const Checked<T>& checked, Start start) {
    if (!reachable())
        return;
    if (const auto* error = std::get_if<ScriptError>(&checked))
        return refuse(*error);
    start(std::get<T>(checked));
}

bool LedsBus::reachable() {
    const QString why = m_service.noKeyboard();
    if (!why.isEmpty())
        refuse({ScriptErrorKind::NoKeyboard, why});
    return why.isEmpty();
}

void LedsBus::refuse(const ScriptError& error) {
    if (calledFromDBus())
        sendErrorReply(errorName(error.kind), error.message);
}

// Only the properties that changed since the last announcement are sent.
void LedsBus::announceChanges(const LockStates& locks) {
    if (!m_bus)
        return;
    static constexpr const char* LockProperties[] = {"Num", "Caps", "Scroll"};
    const QString running = m_service.running();
    QVariantMap changed;
    for (std::size_t i = 0; i < locks.size(); ++i)
        if (locks[i] != m_announced[i])
            changed.insert(LockProperties[i], locks[i]);
    if (running != m_announcedRunning)
        changed.insert("Running", running);
    if (changed.isEmpty())
        return;
    m_announced = locks;
    m_announcedRunning = running;
    QDBusMessage signal = QDBusMessage::createSignal(
        objectPath(), "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << interfaceName() << changed << QStringList();
    m_bus->send(signal);
    // The signal leaves before this call, and its answer comes back: a program that ends next
    // does not take its last signal with it.
    m_bus->interface()->isServiceRegistered(QString::fromLatin1(ApplicationId));
}
