#include "platform/desktoplauncher.h"
#include "platform/programfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The desktop's opener, replaced by a script on PATH that writes down its arguments.
class DesktopLauncherTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;                                           // holds the opener
    const QString spaced = tmp.filePath("a folder with spaces"); // holds the terms
    const QString terms = spaced + "/Terms of use.txt";

    // What the opener got, by its log `name`: the number of its arguments and the first,
    // as a local path.
    QString got(const QString& name) const {
        QFile log(tmp.filePath(name));
        const QString text = log.open(QIODevice::ReadOnly) ? QString(log.readAll()) : QString();
        return text.section(' ', 0, 0) + ' ' + QUrl(text.section(' ', 1)).toLocalFile();
    }

private slots:
    void initTestCase() {
        QFile opener(tmp.filePath("xdg-open"));
        QVERIFY(QDir().mkpath(spaced) && QFile(terms).open(QIODevice::WriteOnly) &&
                opener.open(QIODevice::WriteOnly) &&
                opener.write("#!/bin/sh\nprintf '%s %s' \"$#\" \"$1\" > \"$OPENER_LOG\"\n") &&
                opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        qputenv("PATH", spaced.toLocal8Bit()); // no opener there
    }

    // The first folder that holds the file wins (here the same folder twice, spelt two ways);
    // where none does, the last one is named.
    void dataFilesAreFoundInTheFirstFolderHoldingThem() {
        QCOMPARE(programDataFile("Terms of use.txt", {tmp.path(), spaced, spaced + "/."}), terms);
        QCOMPARE(programDataFile("none", {spaced, tmp.path()}), tmp.filePath("none"));
    }

    // With no opener on PATH (Qt looks for one there until it finds it, and keeps what it
    // found): one line on standard error that says what failed.
    void missingOpenerIsOneLine() {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^tintaro: cannot start the desktop's text "
                                                "editor for .*/Terms of use.txt: .+"));
        QTest::failOnWarning(QRegularExpression(".*"));
        DesktopLauncher().openInTextEditor(terms);
    }

    // The path reaches the opener whole, as its one argument, spaces and all, from the text
    // editor's call and from the browser's, each writing its own log.
    void openerGetsTheWholePath() {
        qputenv("PATH", tmp.path().toLocal8Bit());
        DesktopLauncher launcher;
        qputenv("OPENER_LOG", tmp.filePath("editor").toLocal8Bit());
        launcher.openInTextEditor(terms);
        qputenv("OPENER_LOG", tmp.filePath("browser").toLocal8Bit());
        launcher.openWebPage(QUrl::fromLocalFile(terms));
        QTRY_COMPARE(QStringList({got("editor"), got("browser")}), QStringList(2, "1 " + terms));
    }
};

QTEST_MAIN(DesktopLauncherTest)
#include "tst_desktoplauncher.moc"
