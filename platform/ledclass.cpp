#include "platform/ledclass.h"

#include <QDir>
#include <QFile>

#include <utility>

LedClass::LedClass(QString folder, QString ignoredDevice)
    : m_folder(std::move(folder)), m_ignoredDevice(std::move(ignoredDevice)) {}

bool LedClass::litOnEvery(const QString& led) const {
    const QDir folder(m_folder);
    const QString suffix = "::" + led;
    bool seen = false;
    for (const QString& entry : folder.entryList({"input*" + suffix}, QDir::Dirs)) {
        if (!m_ignoredDevice.isEmpty() && entry == m_ignoredDevice + suffix)
            continue;
        QFile brightness(folder.filePath(entry + "/brightness"));
        if (!brightness.open(QIODevice::ReadOnly) || brightness.readAll().trimmed().toInt() <= 0)
            return false;
        seen = true;
    }
    return seen;
}
