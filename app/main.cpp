#include "desktoplauncher.h"
#include "keyboardfactory.h"
#include "programversion.h"
#include "qtclock.h"
#include "quitsignals.h"
#include "tastatur.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(ProgramVersion::Major)
                                            .arg(ProgramVersion::Minor)
                                            .arg(ProgramVersion::Revision));

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
