#include "platform/quitrequests.h"

#include "platform/nativewindowwatch.h"
#include "platform/x11keyboard.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop picks the byte up.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

constexpr int QuitSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
} // namespace

QuitRequests::QuitRequests(QObject* parent) : QObject(parent) {
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &QuitRequests::quitRequested);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        if (::read(signalPipe[0], &byte, 1) == 1)
            emit quitRequested();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : QuitSignalNumbers)
        ::sigaction(number, &action, nullptr);
    // A write to an X connection that was cut (the window killed by xkill) must fail rather than
    // end the program at once: Qt then ends it its own way, and the keyboard is left clean.
    std::signal(SIGPIPE, SIG_IGN);
}

void QuitRequests::watch(QWindow& window) {
    connect(new NativeWindowWatch(window), &NativeWindowWatch::nativeWindowDestroyed, this,
            &QuitRequests::quitRequested, Qt::QueuedConnection);
}

// Only the X11 keyboard keeps a connection that can be cut under it.
void QuitRequests::watch(Keyboard& keyboard) {
    if (auto* x11 = dynamic_cast<X11Keyboard*>(&keyboard))
        connect(
            x11, &X11Keyboard::connectionLost, this,
            [this](const QString& why) {
                std::fprintf(stderr, "tintaro: %s\n", qPrintable(why));
                m_failed = true;
                emit quitRequested();
            },
            Qt::QueuedConnection);
}

QuitRequests::~QuitRequests() {
    for (int number : QuitSignalNumbers)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}
