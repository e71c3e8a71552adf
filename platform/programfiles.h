#pragma once

#include <QString>
#include <QStringList>

// Where the program's own data files are: beside the executable in the build tree, in the
// program's data folder once installed.
QStringList programDataFolders();

// The path of one of the program's data files: in the first of `folders` that holds it, or in
// the last one when none does.
QString programDataFile(const QString& name, const QStringList& folders = programDataFolders());
