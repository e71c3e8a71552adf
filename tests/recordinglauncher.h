#pragma once

#include "platform/launcher.h"

#include <QStringList>
#include <QUrl>

// Records what the window asked to open, as "browser <address>" or "editor <path>".
struct RecordingLauncher final : Launcher {
    QStringList opened;

    void openWebPage(const QUrl& address) override { opened << "browser " + address.toString(); }
    void openInTextEditor(const QString& path) override { opened << "editor " + path; }
};
