#include "app/desktopoptions.h"
#include "app/desktopsignals.h"
#include "app/scriptcommand.h"
#include "lockkeys/exitcleanup.h"
#include "lockkeys/reportingkeyboard.h"
#include "mainwindow/tastatur.h"
#include "mainwindow/windowleds.h"
#include "platform/desktoplauncher.h"
#include "platform/keyboardfactory.h"
#include "platform/programidentity.h"
#include "platform/qtclock.h"
#include "platform/quitrequests.h"
#include "platform/session.h"
#include "platform/toolkitarguments.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = runScriptCommand(argc, argv))
        return *status;
    const Session session = Session::fromEnvironment();
    // Qt would abort with a page of advice: one line says what is missing.
    if (const QString missing = session.missingDisplay(); !missing.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(missing));
        return 1;
    }
    ToolkitArguments toolkit(argc, argv, session.toolkitOptions());
    QApplication app(toolkit.argc(), toolkit.argv());
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(ProgramVersion);
    // On Wayland the window's app id; the desktop shell finds the menu entry and icon by it.
    QApplication::setDesktopFileName(ApplicationId);
    const DesktopOptions desktopOptions = DesktopOptions::parse(QApplication::arguments());
    if (!desktopOptions.error.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(desktopOptions.error));
        return 2;
    }
    // Before the keyboard is touched, so that a signal at any moment still ends in the cleanup.
    QuitRequests quitRequests;

    QtClock clock;
    KeyboardChoice keyboard = chooseKeyboard(session, systemKeyboards(clock, session));
    ExitCleanup exitCleanup(keyboard.keyboard);
    quitRequests.watch(*keyboard.keyboard);
    // What the program toggles itself is told apart from the user's own strokes.
    ReportingKeyboard ownKeys(*keyboard.keyboard);
    DesktopLauncher launcher;
    tastatur window(ownKeys, clock, launcher);
    auto* leds = new WindowLeds(window, ownKeys, clock, keyboard.unreachable);
    DesktopSignals desktop(desktopOptions, window, *leds, ownKeys, clock);
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, &window, &QWidget::close);
    offerToScripts(*leds, desktop);

    desktop.show();
    quitRequests.watch(*window.windowHandle());
    window.showNotice(keyboard.notice);
    const int status = app.exec();
    return status ? status : quitRequests.exitStatus();
}
