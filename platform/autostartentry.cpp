#include "platform/autostartentry.h"

#include "platform/programidentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr char Entry[] = "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=Tintaro\n"
                         "Comment=Shows the lock states in the tray\n"
                         "Exec=tintaro --tray\n"
                         "Icon=%1\n"
                         "Terminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n";

bool fail(const QString& what, const QString& why) {
    std::fprintf(stderr, "tintaro: %s: %s\n", qPrintable(what), qPrintable(why));
    return false;
}

} // namespace

AutostartEntry::AutostartEntry(const QString& configFolder)
    : m_path(configFolder + "/autostart/" + QLatin1String(ApplicationId) + ".desktop") {}

QString AutostartEntry::defaultConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool AutostartEntry::exists() const {
    return QFileInfo::exists(m_path);
}

bool AutostartEntry::write() const {
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return fail(m_path, "cannot make its folder");
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(m_path, file.errorString());
    file.write(QString::fromLatin1(Entry).arg(QLatin1String(ApplicationId)).toUtf8());
    return file.commit() || fail(m_path, file.errorString());
}

bool AutostartEntry::remove() const {
    QFile file(m_path);
    return !file.exists() || file.remove() || fail(m_path, file.errorString());
}
