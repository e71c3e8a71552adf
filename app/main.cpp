#include "app/scriptcommand.h"
#include "lockkeys/exitcleanup.h"
#include "mainwindow/tastatur.h"
#include "platform/desktoplauncher.h"
#include "platform/keyboardfactory.h"
#include "platform/programidentity.h"
#include "platform/qtclock.h"
#include "platform/quitrequests.h"
#include "platform/session.h"

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
    session.prepareToolkit();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(ProgramVersion);
    // On Wayland the window's app id; the desktop shell finds the menu entry and icon by it.
    QApplication::setDesktopFileName(ApplicationId);
    // Before the keyboard is touched, so that a signal at any moment still ends in the cleanup.
    QuitRequests quitRequests;

    QtClock clock;
    KeyboardChoice keyboard = chooseKeyboard(session, systemKeyboards(clock));
    ExitCleanup exitCleanup(keyboard.keyboard);
    quitRequests.watch(*keyboard.keyboard);
    DesktopLauncher launcher;
    tastatur window(*keyboard.keyboard, clock, launcher);
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, &window, &QWidget::close);
    offerToScripts(window, *keyboard.keyboard, clock, keyboard.unreachable);

    window.show();
    quitRequests.watch(*window.windowHandle());
    window.showNotice(keyboard.notice);
    const int status = app.exec();
    return status ? status : quitRequests.exitStatus();
}
