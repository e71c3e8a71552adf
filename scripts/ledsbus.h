#pragma once

#include "scripts/scriptcalls.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

class LedService;

// The D-Bus face of a running Tintaro: the interface <application id>.Leds on the object path
// made of the application id, under the application id as the name on the bus. Each method
// checks its arguments as the command line does and answers a refusal with a D-Bus error. The
// properties follow the lock states and what runs, and their changes are signalled with the
// states the service reads for the display.
class LedsBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool Num READ num)
    Q_PROPERTY(bool Caps READ caps)
    Q_PROPERTY(bool Scroll READ scroll)
    Q_PROPERTY(QString Running READ running)

public:
    explicit LedsBus(LedService& service, QObject* parent = nullptr);

    static QString objectPath();
    static QString interfaceName();

    // Offers the interface on `bus` and takes the name; false, and nothing offered, when another
    // copy owns the name already.
    bool publish(const QDBusConnection& bus);

    // Signals the properties that changed since last told, `locks` the lock states as just read,
    // and is sure they have gone out.
    void announceChanges(const LockStates& locks);

    bool num() const;
    bool caps() const;
    bool scroll() const;
    QString running() const;

    // The interface's methods.
    void StartEffect(const QString& name, uint speedMs);
    void Blink(const QString& leds, uint periodMs, uint count);
    void Play(const QString& pattern);
    void Morse(const QString& text, const QString& led, uint unitMs);
    void SetLocks(const QString& locks);
    void Stop();

private:
    // Runs `start` with what was checked, or answers the refusal.
    template <class T, class Start> void runChecked(const Checked<T>& checked, Start start);
    void refuse(const ScriptError& error);
    // False, with the refusal answered, when the LEDs are out of reach.
    bool reachable();

    LedService& m_service;
    std::optional<QDBusConnection> m_bus;
    LockStates m_announced{};
    QString m_announcedRunning;
};
