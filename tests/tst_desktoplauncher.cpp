#include "desktoplauncher.h"
#include "programfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The desktop's opener, replaced by a script on PATH that writes down its arguments.
class DesktopLauncherTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString spaced; // a folder whose name has spaces, holding the terms
    QString log;

    QStringList logged() const {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n') : QStringList{};
    }

private slots:
    void initTestCase() {
        QDir(tmp.path()).mkpath("bin");
        QDir(tmp.path()).mkpath("a folder with spaces");
        spaced = tmp.filePath("a folder with spaces");
        QFile(spaced + "/Terms of use.txt").open(QIODevice::WriteOnly);
        log = tmp.filePath("log");
        QFile opener(tmp.filePath("bin/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$OPENER_LOG\"\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("OPENER_LOG", log.toLocal8Bit());
        for (const char* name : {"BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP"})
            qunsetenv(name);
    }

    // The first folder that holds the file wins; where none does, the last one is named.
    void dataFilesAreFoundInTheFirstFolderHoldingThem() {
        const QString empty = tmp.filePath("bin");
        const QString terms = "Terms of use.txt";
        QCOMPARE(programDataFile(terms, {empty, spaced}), spaced + "/" + terms);
        QCOMPARE(programDataFile(terms, {spaced, empty}), spaced + "/" + terms);
        QCOMPARE(programDataFile(terms, {empty}), empty + "/" + terms);
    }

    // With no opener to start (Qt looks for one until it finds it): one line on standard error
    // that says what failed.
    void missingOpenerIsOneLine() {
        qputenv("PATH", tmp.filePath("a folder with spaces").toLocal8Bit());
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^tintaro: cannot start the desktop's text "
                                                "editor for .*/Terms of use.txt: .+"));
        QTest::failOnWarning(QRegularExpression(".*"));
        DesktopLauncher().openInTextEditor(spaced + "/Terms of use.txt");
    }

    // The path reaches the opener whole, as its one argument, spaces and all.
    void openerGetsTheWholePath_data() {
        QTest::addColumn<bool>("page");
        QTest::newRow("text editor") << false;
        QTest::newRow("browser") << true;
    }

    void openerGetsTheWholePath() {
        QFETCH(bool, page);
        qputenv("PATH", tmp.filePath("bin").toLocal8Bit());
        QFile::remove(log);
        const QString path = spaced + "/Terms of use.txt";
        DesktopLauncher launcher;
        page ? launcher.openWebPage(QUrl::fromLocalFile(path)) : launcher.openInTextEditor(path);
        QTRY_COMPARE(logged().size(), 3);
        QCOMPARE(logged()[0], "1");
        QCOMPARE(QUrl(logged()[1]).toLocalFile(), path);
    }
};

QTEST_MAIN(DesktopLauncherTest)
#include "tst_desktoplauncher.moc"
