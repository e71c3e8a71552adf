#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. The numbers are 0 where not given: the defaults then hold.
struct Request {
    enum class Command { Help, Version, ListEffects, Effect, Blink, Play, Morse, Set, State, Stop };

    Command command = Command::Help;
    QString name; // the effect; the LEDs to blink; the Morse LED
    QString text; // the pattern; the Morse text; the locks to set
    uint speedMs = 0;
    uint count = 0;
    uint unitMs = 0;
    int forMs = 0; // how long an effect or blinking runs; 0 until stopped

    friend bool operator==(const Request&, const Request&) = default;
};

struct CommandLine {
    Request request;
    QString error; // one line that names what is wrong; empty when the request is good
};

// Reads the arguments after the program's name. Every value is checked as the running copy
// would check it, so that bad usage is told before anything is started or handed on.
CommandLine parseCommandLine(const QStringList& arguments);

// What --help prints.
QString helpText();
