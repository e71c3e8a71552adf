#include "app/desktopoptions.h"

#include "tests/textrow.h"

class DesktopOptionsTest : public QObject {
    Q_OBJECT

private slots:
    // Each command line to what it asks for, as "tray announce follow: LED APPS URGENCY", or to
    // its error.
    void commandLineToRequest_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        textRow("none", "", "0 0 0: scroll [] 0");
        textRow("all three", "--tray --announce-locks --follow-notifications",
                "1 1 1: scroll [] 0");
        textRow("a rule",
                "--follow-notifications --led CAPS --app chat --app Mail --urgency critical",
                "0 0 1: caps [chat,Mail] 2");
        textRow("lowest", "--follow-notifications --led num --urgency low", "0 0 1: num [] 0");
        textRow("bad LED", "--follow-notifications --led shift",
                "--led is one of num, caps, scroll, not \"shift\"");
        textRow("bad urgency", "--follow-notifications --urgency loud",
                "--urgency is one of low, normal, critical, not \"loud\"");
        textRow("rule alone", "--tray --app chat", "--app needs --follow-notifications");
        textRow("unknown option", "--blink", "Unknown option 'blink'.");
        textRow("argument", "--tray now", "unexpected argument \"now\"");
    }

    void commandLineToRequest() {
        QFETCH(QString, arguments);
        const DesktopOptions options = DesktopOptions::parse(
            QStringList{"tintaro"} + arguments.split(' ', Qt::SkipEmptyParts));
        const NotificationRule& rule = options.rule;
        const QString request =
            QStringLiteral("%1 %2 %3: %4 [%5] %6")
                .arg(options.tray)
                .arg(options.announceLocks)
                .arg(options.followNotifications)
                .arg(QStringList{"num", "caps", "scroll"}[int(rule.led)], rule.apps.join(','))
                .arg(rule.urgency);
        QTEST(options.error.isEmpty() ? request : options.error, "expected");
    }
};

QTEST_APPLESS_MAIN(DesktopOptionsTest)
#include "tst_desktopoptions.moc"
