#pragma once

#include "desktop/notificationfollower.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

// The options that put the lights to work on the desktop:
//   --tray                   live in the system tray, the window shown on request
//   --announce-locks         announce lock changes made by others in a desktop notification
//   --follow-notifications [--led LED] [--app NAME]... [--urgency low|normal|critical]
//                            blink the LED while a matching notification is open
struct DesktopOptions {
    bool tray = false;
    bool announceLocks = false;
    bool followNotifications = false;
    NotificationRule rule;
    QString error; // what is wrong with the command line; empty when nothing

    // Adds the options to a parser that may hold others too.
    static void addTo(QCommandLineParser& parser);
    // The options as `parser` has found them.
    static DesktopOptions from(const QCommandLineParser& parser);
    // A command line of these options alone.
    static DesktopOptions parse(const QStringList& arguments);
    // Whether `arguments` (the program's name first) ask for the window with one of these
    // options, rather than for a command.
    static bool asked(const QStringList& arguments);
};
