// The program itself on a real X server, watched from outside as a user would: whatever way it
// ends, it leaves no indicator lit, no modifier locked, no key down and the modifier map as it
// found it. Where the uinput backend cannot start, the window still opens and says why.

#include <QFile>
#include <QProcess>
#include <QTest>

// Xlib's macros (None, Bool, Status, ...) clash with Qt: after Qt.
#include "tests/x11observer.h"
#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <csignal>

class TintaroX11Test : public QObject {
    Q_OBJECT

    X11Observer x;
    const QString asFound = x.dpy ? x.state() : QString(); // as every copy must leave it
    const Atom recordAtom = x.atom("_TINTARO_SCROLL_LOCK_BINDING");

    // Starts a copy, with its environment changed as `env` takes it; returns its window once
    // shown and past the start-up reset, 0 for none.
    Window start(QProcess& program, QStringList environment = {}) const {
        // On this display only the copies started here map any window.
        const qsizetype before = x.windows().size();
        program.start("env", environment << TINTARO_BINARY);
        if (!QTest::qWaitFor([&] { return x.windows().size() > before; }))
            return 0;
        QTest::qWait(200); // lit indicators are put out 100 ms after start
        return x.windows().last();
    }

    // Clicks the on-screen "Caps" key of a copy's window.
    void clickCaps(Window window) const {
        // The client area is the window's bottom 466 x 218; "Caps" sits at (8+96, 8+24) in it.
        XWindowAttributes a;
        XGetWindowAttributes(x.dpy, window, &a);
        XTestFakeMotionEvent(x.dpy, -1, a.x + 8 + 96 + 30, a.y + a.height - 218 + 8 + 24 + 30, 0);
        XTestFakeButtonEvent(x.dpy, 1, True, 0);
        XTestFakeButtonEvent(x.dpy, 1, False, 0);
        XSync(x.dpy, False);
    }

    // The Scroll Lock binding's record on the root window, as any client may read and write it:
    // key, modifier row, then a window of each copy using it.
    void setRecord(const std::vector<long>& values) const {
        XChangeProperty(x.dpy, DefaultRootWindow(x.dpy), recordAtom, XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()),
                        int(values.size()));
        XSync(x.dpy, False);
    }

    // The window that stands for the running copy in the record, once it is there. A copy's
    // new connection may be given the id of its former one, which stands there meanwhile.
    Window copyInRecord() const {
        Window found = 0;
        const bool seen = QTest::qWaitFor([&] {
            Atom type;
            int format;
            unsigned long count = 0, after;
            unsigned char* data = nullptr;
            XGetWindowProperty(x.dpy, DefaultRootWindow(x.dpy), recordAtom, 0, 64, False,
                               XA_CARDINAL, &type, &format, &count, &after, &data);
            found = count == 3 ? Window(reinterpret_cast<const long*>(data)[2]) : 0;
            XFree(data);
            return x.windows(false).contains(found);
        });
        return seen ? found : 0;
    }

    // Strikes Scroll Lock as the user would: true when its indicator then shows `lit`.
    bool tapScrollLock(bool lit) const {
        x.tap(XK_Scroll_Lock);
        return QTest::qWaitFor([&] { return x.lit("Scroll Lock") == lit; }, 1000);
    }

private slots:
    // The copies started here use X11, whatever session the tests run in.
    void initTestCase() {
        QVERIFY2(asFound.startsWith("lit 0, locked 0, down []"), qPrintable(asFound));
        qputenv("TINTARO_KEYBOARD", "x11");
    }

    void waysOut_data() {
        QTest::addColumn<int>("signal"); // sent to end it; 0 for none
        for (const char* way : {"close box", "window destroyed", "xkill"})
            QTest::newRow(way) << 0;
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
            QTest::addRow("SIG%s", sigabbrev_np(signal)) << signal;
    }

    // With all three locks lit, one by the on-screen "Caps" key, each way out puts them out.
    void waysOut() {
        QFETCH(int, signal);
        const QString way = QTest::currentDataTag();
        QProcess program;
        const Window window = start(program);
        QVERIFY(window);

        clickCaps(window);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Caps Lock"); }));
        x.tap(XK_Num_Lock);
        QVERIFY(tapScrollLock(true));

        if (signal) {
            ::kill(pid_t(program.processId()), signal);
        } else if (way == "close box") {
            x.clickCloseBox(window);
        } else {
            way == "xkill" ? XKillClient(x.dpy, window) : XDestroyWindow(x.dpy, window);
        }
        XSync(x.dpy, False);
        QVERIFY(program.waitForFinished(5000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), int(way == "xkill")); // Qt's own exit on a broken connection
        QCOMPARE(x.state(), asFound);
    }

    void anotherCopy_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("second copy, first ended") << false;
        QTest::newRow("next copy, first killed") << true;
    }

    // Scroll Lock toggles in a copy while another runs and after it has ended; what a copy
    // killed outright leaves behind (Scroll Lock bound and lit), the next one cleans up.
    void anotherCopy() {
        QFETCH(bool, killed);
        QProcess first, second;
        QVERIFY(start(first) && (killed || start(second)));
        QVERIFY(tapScrollLock(true));
        ::kill(pid_t(first.processId()), killed ? SIGKILL : SIGTERM);
        QVERIFY(first.waitForFinished(5000));
        // The server would give the next copy the ids of the killed one's windows, which would
        // pass its leftover off as the next copy's own: a connection takes the first free slot.
        const X11Observer slotTaker;
        QVERIFY(!killed || start(second));
        QVERIFY(tapScrollLock(true)); // was put out by the first's end or the second's start
        second.terminate();
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(x.state(), asFound);
    }

    void foreignOrStaleRecord_data() {
        QTest::addColumn<int>("cuts"); // of the keyboard's own connection
        for (const char* row :
             {"planted record", "deleted mid-run", "rewritten mid-run", "id reused"})
            QTest::newRow(row) << 0;
        QTest::newRow("connection killed") << 2;
    }

    // Another client's record, written before the start or over a copy's while it runs, or
    // taken away, neither keeps Scroll Lock from toggling nor changes what a copy leaves; nor
    // does the id of a killed copy's window, handed out anew to another client. A copy whose
    // keyboard connection is cut goes on with a new one, Caps still lit and its on-screen key
    // working; cut again, it ends with a line that says so and a failure status. Each leaves the
    // keyboard as found: the record there named Num_Lock in Num Lock's row.
    void foreignOrStaleRecord() {
        QFETCH(int, cuts);
        const QString row = QTest::currentDataTag();
        const std::vector<long> foreign{XKeysymToKeycode(x.dpy, XK_Num_Lock), Mod2MapIndex};
        if (row == "planted record")
            setRecord(foreign);
        std::vector<std::unique_ptr<X11Observer>> idTakers;
        if (row == "id reused") {
            QProcess killed;
            QVERIFY(start(killed) && tapScrollLock(true));
            const Window id = copyInRecord();
            ::kill(pid_t(killed.processId()), SIGKILL);
            QVERIFY(killed.waitForFinished(5000));
            // Each new client takes the lowest free slot of ids, and hands out ids in order.
            for (Window made = 0; made != id && idTakers.size() < 8;) {
                idTakers.push_back(std::make_unique<X11Observer>());
                for (int i = 0; i < 16 && made != id; ++i)
                    made = XCreateSimpleWindow(idTakers.back()->dpy, DefaultRootWindow(x.dpy), 0, 0,
                                               1, 1, 0, 0, 0);
                XSync(idTakers.back()->dpy, False);
            }
            QCOMPARE(copyInRecord(), id);
        }
        QProcess program;
        const Window window = start(program);
        QVERIFY(window && tapScrollLock(true));
        if (row == "deleted mid-run")
            XDeleteProperty(x.dpy, DefaultRootWindow(x.dpy), recordAtom);
        else if (row == "rewritten mid-run")
            setRecord(foreign);
        QVERIFY(tapScrollLock(false) && tapScrollLock(true));

        clickCaps(window);
        QVERIFY(QTest::qWaitFor([&] { return x.lit("Caps Lock"); }));
        Window keyboard = copyInRecord();
        for (int cut = 1; cut <= cuts; ++cut) {
            XKillClient(x.dpy, keyboard); // as xkill -id does
            XSync(x.dpy, False);
            if (cut == cuts)
                break;
            keyboard = copyInRecord();
            QVERIFY(keyboard && x.lit("Caps Lock") && tapScrollLock(false));
            clickCaps(window);
            QVERIFY(QTest::qWaitFor([&] { return !x.lit("Caps Lock"); }));
            clickCaps(window);
            QVERIFY(QTest::qWaitFor([&] { return x.lit("Caps Lock"); }));
        }
        if (!cuts)
            program.terminate();
        QVERIFY(program.waitForFinished(5000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), cuts ? 1 : 0);
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(said.contains("tintaro: the keyboard's connection to the X display was cut"),
                 cuts > 0);
        QCOMPARE(x.state(), asFound);
    }

    // A signal early in the start-up, before the window is there, leaves nothing behind: at
    // once, and as Scroll Lock is bound.
    void signalAtStart() {
        for (bool waitForBinding : {false, true}) {
            QProcess program;
            program.start(TINTARO_BINARY);
            QVERIFY(program.waitForStarted());
            const QDeadlineTimer deadline(5000);
            while (waitForBinding && x.state() == asFound)
                QVERIFY(!deadline.hasExpired());
            program.terminate();
            QVERIFY(program.waitForFinished(5000));
            QCOMPARE(x.state(), asFound);
        }
    }

    void noDisplay_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("said");
        QTest::newRow("DISPLAY unset") << QStringList{"-u", "DISPLAY"} << "DISPLAY is not set";
        int absent = 399;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(absent)))
            --absent;
        QTest::newRow("no server") << QStringList{QStringLiteral("DISPLAY=:%1").arg(absent)}
                                   << QStringLiteral("cannot open display \":%1\"").arg(absent);
    }

    // One line says what is missing, and the program fails.
    void noDisplay() {
        QFETCH(QStringList, environment);
        QFETCH(QString, said);
        QProcess program;
        program.start("env", environment << TINTARO_BINARY);
        QVERIFY(program.waitForFinished(5000) && program.exitCode() != 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), "tintaro: " + said + '\n');
    }

    // With every row Mod1 to Mod5 taken and none carrying Scroll_Lock, a notice says that Scroll
    // Lock will not toggle, and the map is left as it is.
    void noFreeModifierRowExplains() {
        // Each free row gets a key of its own that is no modifier.
        XModifierKeymap* const found = XGetModifierMapping(x.dpy);
        XModifierKeymap* map = XGetModifierMapping(x.dpy);
        const KeySym fillers[] = {XK_Menu, XK_Pause, XK_Print, XK_Help, XK_Find};
        for (int row = Mod1MapIndex; row <= Mod5MapIndex; ++row)
            if (x.modifierMap()[row].isEmpty())
                map = XInsertModifiermapEntry(
                    map, XKeysymToKeycode(x.dpy, fillers[row - Mod1MapIndex]), row);
        QCOMPARE(XSetModifierMapping(x.dpy, map), MappingSuccess);
        const QString full = x.state();

        QProcess program;
        QVERIFY(start(program));
        const QByteArray notice = program.readAllStandardError();
        QVERIFY2(notice.contains("tintaro: Scroll Lock will not toggle"), notice.constData());
        QVERIFY(!tapScrollLock(true));
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(x.state(), full);

        QCOMPARE(XSetModifierMapping(x.dpy, found), MappingSuccess);
        XFreeModifiermap(map);
        XFreeModifiermap(found);
        QCOMPARE(x.state(), asFound);
    }

    void uinputWithoutDeviceExplains() {
        if (QFile::exists("/dev/uinput"))
            QSKIP("this machine has /dev/uinput");
        QProcess program;
        QVERIFY(start(program, {"TINTARO_KEYBOARD=uinput"}));
        // Said before the window shows.
        const QByteArray notice = program.readAllStandardError();
        QVERIFY(notice.contains("/dev/uinput does not exist") &&
                notice.contains("modprobe uinput"));
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TintaroX11Test)
#include "tst_tintaro_x11.moc"
