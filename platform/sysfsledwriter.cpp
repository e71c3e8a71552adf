#include "platform/sysfsledwriter.h"

#include <QFile>

#include <utility>

SysfsLedWriter::SysfsLedWriter(QString folder) : m_folder(std::move(folder)) {}

bool SysfsLedWriter::setLed(const QString& entry, bool on) {
    QFile brightness(m_folder + '/' + entry + "/brightness");
    return brightness.open(QIODevice::WriteOnly) && brightness.write(on ? "1" : "0") == 1;
}
