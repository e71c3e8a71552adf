#include "desktoplauncher.h"
#include "keyboardfactory.h"
#include "lockkeyevents.h"
#include "programversion.h"
#include "qtclock.h"
#include "quitsignals.h"
#include "tastatur.h"
#include "taste.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    // Shared memory with the X server saves copying large pictures, but each repaint then waits
    // for the server to be done with the last one. This window repaints a few small lamps up to
    // ten times a second: sending their pixels costs less.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(ProgramVersion::Major)
                                            .arg(ProgramVersion::Minor)
                                            .arg(ProgramVersion::Revision));

    // Lock keys do nothing in the window but on a focused key control, which reports every key.
    LockKeyEvents lockKeyEvents(
        [] { return qobject_cast<Taste*>(QApplication::focusWidget()) != nullptr; });
    app.installNativeEventFilter(&lockKeyEvents);

    const KeyboardChoice keyboard = chooseKeyboard();
    QtClock clock;
    DesktopLauncher launcher;
    tastatur window(*keyboard.keyboard, clock, launcher);

    // Signals and the session's quit take the same way out as the close box.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        if (window.isVisible())
            window.close();
    });

    window.show();
    if (!keyboard.problem.isEmpty()) {
        auto* box = new QMessageBox(QMessageBox::Warning, "Tintaro",
                                    "The keyboard's lock LEDs cannot be reached, so Tintaro runs "
                                    "on a simulated keyboard.\n\n" +
                                        keyboard.problem,
                                    QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    return app.exec();
}
