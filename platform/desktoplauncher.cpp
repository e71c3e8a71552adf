#include "platform/desktoplauncher.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
// The address goes to the opener as one argument, never through a shell, so a path with spaces
// arrives whole. What Qt says of a failure goes into our one line.
void open(const QUrl& url, const char* what) {
    static QString reason;
    reason.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { reason = message; });
    const bool started = QDesktopServices::openUrl(url);
    qInstallMessageHandler(previous);
    if (!started)
        qWarning("tintaro: cannot start the desktop's %s for %s%s%s", what,
                 qPrintable(url.toDisplayString(QUrl::PreferLocalFile)),
                 reason.isEmpty() ? "" : ": ", qPrintable(reason));
}
} // namespace

void DesktopLauncher::openWebPage(const QUrl& address) {
    open(address, "browser");
}

void DesktopLauncher::openInTextEditor(const QString& path) {
    open(QUrl::fromLocalFile(path), "text editor");
}
