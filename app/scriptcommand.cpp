#include "app/scriptcommand.h"

#include "app/desktopoptions.h"
#include "app/desktopsignals.h"

#include "mainwindow/windowleds.h"
#include "platform/programidentity.h"
#include "scripts/commandline.h"
#include "scripts/commandrunner.h"
#include "scripts/ledsbus.h"

#include <QCoreApplication>

#include <cstdio>

std::optional<int> runScriptCommand(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (argc <= 1 || DesktopOptions::asked(arguments))
        return std::nullopt;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tintaro");
    QCoreApplication::setApplicationVersion(QLatin1String(ProgramVersion));
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments().mid(1));
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(commandLine.error));
        return 2;
    }
    return runCommand(commandLine.request);
}

void offerToScripts(WindowLeds& leds, DesktopSignals& desktop) {
    QObject::connect(&leds, &LedService::stopped, &desktop, &DesktopSignals::stopFollowing);
    (new LedsBus(leds, &leds))->publish(QDBusConnection::sessionBus());
}
