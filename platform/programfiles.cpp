#include "platform/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList programDataFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), QDir::cleanPath(program.filePath(TINTARO_DATA_FROM_PROGRAM))};
}

QString programDataFile(const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return folders.isEmpty() ? name : QDir(folders.last()).filePath(name);
}
