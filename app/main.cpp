#include "keycontrol/taste.h"
#include "lockkeys/modsync.h"
#include "mainwindow/tastatur.h"
#include "platform/desktoplauncher.h"
#include "platform/keyboardfactory.h"
#include "platform/lockkeyevents.h"
#include "platform/nativewindowwatch.h"
#include "platform/programidentity.h"
#include "platform/qtclock.h"
#include "platform/quitsignals.h"
#include "platform/x11display.h"
#include "platform/x11keyboard.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Qt would abort with a page of advice: one line says what is missing.
    if (const QString missing = missingDisplay(); !missing.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(missing));
        return 1;
    }
    // Shared memory with the X server saves copying large pictures, but each repaint then waits
    // for the server to be done with the last one. This window repaints a few small lamps up to
    // ten times a second: sending their pixels costs less.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(QLatin1String(ProgramVersion));

    // Before the keyboard is touched, so that a signal at any moment still ends in the cleanup.
    QuitSignals quitSignals;

    // Lock keys do nothing in the window but on a focused key control, which reports every key.
    LockKeyEvents lockKeyEvents(
        [] { return qobject_cast<Taste*>(QApplication::focusWidget()) != nullptr; });
    app.installNativeEventFilter(&lockKeyEvents);

    QtClock clock;
    KeyboardChoice keyboard =
        chooseKeyboard(KeyboardSession::fromEnvironment(), systemKeyboards(clock));
    DesktopLauncher launcher;
    tastatur window(*keyboard.keyboard, clock, launcher);

    // Signals, the session's quit and the window's loss take the same way out as the close box.
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        if (window.isVisible())
            window.close();
    });
    // The keyboard's X connection cut for good: the same way out, as a failure.
    int failed = 0;
    if (auto* x11 = dynamic_cast<X11Keyboard*>(keyboard.keyboard.get()))
        QObject::connect(
            x11, &X11Keyboard::connectionLost, &window,
            [&](const QString& why) {
                std::fprintf(stderr, "tintaro: %s\n", qPrintable(why));
                failed = 1;
                window.close();
            },
            Qt::QueuedConnection);
    window.winId();
    QObject::connect(new NativeWindowWatch(*window.windowHandle()),
                     &NativeWindowWatch::nativeWindowDestroyed, &window, &QWidget::close,
                     Qt::QueuedConnection);
    // Qt ends the program with exit() when its own X connection breaks (the window killed by
    // xkill); the keyboard's connection still lives and serves to leave the keyboard clean.
    static auto connectionLost = qScopeGuard([&keyboard] {
        modSync::TurnOffLitLocks(*keyboard.keyboard);
        keyboard.keyboard.reset();
    });

    window.show();
    if (!keyboard.notice.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(keyboard.notice));
        auto* box = new QMessageBox(QMessageBox::Warning, "Tintaro", keyboard.notice,
                                    QMessageBox::Ok, &window);
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    const int status = app.exec();
    connectionLost.dismiss();
    return failed ? failed : status;
}
