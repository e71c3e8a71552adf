#include "platform/ledclass.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <utility>

LedClass::LedClass(QString folder, QString ignoredDevice)
    : m_folder(std::move(folder)), m_ignoredDevice(std::move(ignoredDevice)) {}

QStringList LedClass::entries(const QString& led) const {
    QStringList entries = QDir(m_folder).entryList({"input*::" + led}, QDir::Dirs);
    if (!m_ignoredDevice.isEmpty())
        entries.removeAll(m_ignoredDevice + "::" + led);
    return entries;
}

bool LedClass::isLit(const QString& entry) const {
    QFile brightness(m_folder + '/' + entry + "/brightness");
    return brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed().toInt() > 0;
}

bool LedClass::litOnEvery(const QString& led) const {
    const QStringList all = entries(led);
    return !all.isEmpty() &&
           std::ranges::all_of(all, [this](const QString& entry) { return isLit(entry); });
}

bool LedClass::shownOnAny(const QString& led, bool lit) const {
    return std::ranges::any_of(entries(led),
                               [&](const QString& entry) { return isLit(entry) == lit; });
}
