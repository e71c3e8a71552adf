#pragma once

#include "platform/launcher.h"

// Opens through the desktop's own choice of program (xdg-open and the freedesktop conventions).
// When none can be started it says so in one line on standard error, and nothing else happens.
class DesktopLauncher final : public Launcher {
public:
    void openWebPage(const QUrl& address) override;
    void openInTextEditor(const QString& path) override;
};
