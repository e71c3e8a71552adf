#pragma once

class QString;
class QUrl;

// Starts outside programs for the window: the desktop's browser and its text editor. Neither
// call waits for the program it starts.
class Launcher {
public:
    virtual ~Launcher() = default;

    virtual void openWebPage(const QUrl& address) = 0;
    virtual void openInTextEditor(const QString& path) = 0;
};
