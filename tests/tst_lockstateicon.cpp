#include "mainwindow/windowicon.h"

#include <QTest>

class LockStateIconTest : public QObject {
    Q_OBJECT

private slots:
    void lightsTheLampOfEachLockThatIsOn_data() {
        QTest::addColumn<LockStates>("locks");
        for (int bits = 0; bits < 8; ++bits) {
            const LockStates locks{(bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
            QTest::addRow("num %d caps %d scroll %d", locks[0], locks[1], locks[2]) << locks;
        }
    }

    // Lamp centres at 32 pixels, the size it is drawn for; at 16 (a panel) and 128 scaled with it.
    void lightsTheLampOfEachLockThatIsOn() {
        QFETCH(LockStates, locks);
        for (int size : {16, 32, 128}) {
            const QImage image = lockStateImage(size, locks);
            QCOMPARE(image.size(), QSize(size, size));
            for (int i = 0; i < 3; ++i) {
                const QPoint centre(int((9.5 + 7 * i) * size / 32), int(17.5 * size / 32));
                const QColor expected = locks[i] ? QColor(0, 255, 0) : QColor(0, 128, 0);
                if (size >= 32)
                    QCOMPARE(image.pixelColor(centre), expected);
                else // two pixels wide: blended with the outline, still told apart by green
                    QCOMPARE(image.pixelColor(centre).green() > 160, locks[i]);
            }
        }
    }
};

QTEST_MAIN(LockStateIconTest)
#include "tst_lockstateicon.moc"
