#include "desktop/lockannouncer.h"
#include "platform/notifications.h"
#include "platform/virtualclock.h"

#include <QTest>

namespace {

// Answers every notice at once with the next id from 7 on.
class RecordingNotifications final : public Notifications {
public:
    void notify(const Notice& notice, std::function<void(quint32)> shown) override {
        notices << QStringLiteral("%1 (replaces %2)").arg(notice.summary).arg(notice.replacesId);
        images << notice.image;
        shown(m_next++);
    }
    QStringList notices;
    QList<QImage> images;

private:
    quint32 m_next = 7;
};

} // namespace

class LockAnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    // A script of what happens, one step per word: "n", "c" or "s" the program presses that lock
    // key; "=ncs" a poll finds the locks named on ("=" none); "+MS" time passes.
    void announcesForeignChangesOnly_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the locks as found at start") << "=c" << QStringList();
        QTest::newRow("foreign changes, each replacing the last")
            << "= =c =nc =n"
            << QStringList{"Caps Lock on (replaces 0)", "Num Lock on (replaces 7)",
                           "Caps Lock off (replaces 8)"};
        QTest::newRow("two at one poll")
            << "= =ns" << QStringList{"Num Lock on, Scroll Lock on (replaces 0)"};
        QTest::newRow("own toggle seen at the next poll") << "= c =c" << QStringList();
        QTest::newRow("own toggle seen after 900 ms") << "= c +900 =c" << QStringList();
        QTest::newRow("own blinking") << "= s =s s = s +50 =s s +50 =" << QStringList();
        QTest::newRow("own toggle and back before a poll, then a foreign one")
            << "= c c =c" << QStringList{"Caps Lock on (replaces 0)"};
        QTest::newRow("own toggle never seen, a foreign one after a second")
            << "= n +1000 =n" << QStringList{"Num Lock on (replaces 0)"};
        QTest::newRow("own on one lock, foreign on another")
            << "= n =nc" << QStringList{"Caps Lock on (replaces 0)"};
    }

    void announcesForeignChangesOnly() {
        QFETCH(QString, script);
        QFETCH(QStringList, expected);
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
            else
                announcer.ownPress(step == "n"   ? LockKey::Num
                                   : step == "c" ? LockKey::Caps
                                                 : LockKey::Scroll);
        }
        QCOMPARE(notifications.notices, expected);
        // Each with the lock-state icon of the locks it announces.
        for (const QImage& image : notifications.images)
            QCOMPARE(image.size(), QSize(64, 64));
    }

    // Turned off, changes are followed but not announced: turned on again, only new ones are.
    void silentWhileTurnedOff() {
        RecordingNotifications notifications;
        VirtualClock clock;
        LockAnnouncer announcer(notifications, clock);
        announcer.lockStatesChanged({false, false, false});
        announcer.lockStatesChanged({false, true, false});
        announcer.setEnabled(true);
        announcer.lockStatesChanged({false, true, true});
        QCOMPARE(notifications.notices, QStringList{"Scroll Lock on (replaces 0)"});
    }
};

QTEST_MAIN(LockAnnouncerTest)
#include "tst_lockannouncer.moc"
