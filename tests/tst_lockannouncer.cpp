#include "desktop/lockannouncer.h"
#include "platform/notifications.h"
#include "platform/virtualclock.h"

#include "tests/textrow.h"

namespace {

// Answers every notice at once with the next id from 7 on; says when one comes without an icon.
class RecordingNotifications final : public Notifications {
public:
    void notify(const Notice& notice, std::function<void(quint32)> shown) override {
        notices << QStringLiteral("%1 (replaces %2)%3")
                       .arg(notice.summary)
                       .arg(notice.replacesId)
                       .arg(notice.image.isNull() ? " without an icon" : "");
        shown(m_next++);
    }
    QStringList notices;

private:
    quint32 m_next = 7;
};

} // namespace

class LockAnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    // A script of what happens, one step per word: "n", "c" or "s" the program presses that lock
    // key; "=ncs" a poll finds the locks named on ("=" none); "+MS" time passes; "off" and "on"
    // turn the announcements off and on again. The notices expected are parted by '|'.
    void announcesForeignChangesOnly_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        textRow("the locks as found at start", "=c", "");
        textRow("foreign changes, each replacing the last", "= =c =nc =n",
                "Caps Lock on (replaces 0)|Num Lock on (replaces 7)|Caps Lock off (replaces 8)");
        textRow("two at one poll", "= =ns", "Num Lock on, Scroll Lock on (replaces 0)");
        textRow("own toggle seen after 900 ms", "= c +900 =c", "");
        textRow("own blinking", "= s =s s = s +50 =s s +50 =", "");
        textRow("own toggle and back before a poll, then a foreign one", "= c c =c",
                "Caps Lock on (replaces 0)");
        textRow("own toggle never seen, a foreign one after a second", "= n +1000 =n",
                "Num Lock on (replaces 0)");
        textRow("own on one lock, foreign on another", "= n =nc", "Caps Lock on (replaces 0)");
        textRow("changes followed while off, only new ones told", "off = =c on =cs",
                "Scroll Lock on (replaces 0)");
    }

    void announcesForeignChangesOnly() {
        QFETCH(QString, script);
        RecordingNotifications notifications;
        VirtualClock clock;
        LockAnnouncer announcer(notifications, clock);
        announcer.setEnabled(true);
        for (const QString& step : script.split(' ')) {
            if (step.startsWith('='))
                announcer.lockStatesChanged(
                    {step.contains('n'), step.contains('c'), step.contains('s')});
            else if (step.startsWith('+'))
                clock.advance(step.mid(1).toInt());
            else if (step == "on" || step == "off")
                announcer.setEnabled(step == "on");
            else
                announcer.ownPress(LockKey(QStringLiteral("ncs").indexOf(step)));
        }
        QTEST(notifications.notices.join('|'), "expected");
    }
};

QTEST_MAIN(LockAnnouncerTest)
#include "tst_lockannouncer.moc"
