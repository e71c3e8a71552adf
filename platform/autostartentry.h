#pragma once

#include <QString>

// The XDG autostart entry that starts the program in the tray when the user logs in:
// <config>/autostart/<application id>.desktop, the config folder being $XDG_CONFIG_HOME or
// ~/.config.
class AutostartEntry {
public:
    explicit AutostartEntry(const QString& configFolder = defaultConfigFolder());

    static QString defaultConfigFolder();

    QString path() const { return m_path; }
    bool exists() const;

    // Each says on standard error, in one line, why it could not.
    bool write() const;
    bool remove() const;

private:
    QString m_path;
};
