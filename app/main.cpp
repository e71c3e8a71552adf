#include "desktoplauncher.h"
#include "keyboardfactory.h"
#include "programversion.h"
#include "qtclock.h"
#include "quitsignals.h"
#include "tastatur.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tintaro");
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(ProgramVersion::Major)
                                            .arg(ProgramVersion::Minor)
                                            .arg(ProgramVersion::Revision));

    QtClock clock;
    const KeyboardChoice keyboard =
        chooseKeyboard(KeyboardSession::fromEnvironment(), systemKeyboards(clock));
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
    if (!keyboard.notice.isEmpty()) {
        std::fprintf(stderr, "tintaro: %s\n", qPrintable(keyboard.notice));
        auto* box = new QMessageBox(QMessageBox::Warning, "Tintaro", keyboard.notice,
                                    QMessageBox::Ok, &window);
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    return app.exec();
}
