#include "data/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t quitSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

void blockQuitSignals() {
    const sigset_t set = quitSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void quitEventLoopOnSignals() {
    static int fd = -1;
    if (fd >= 0)
        return;
    blockQuitSignals();
    const sigset_t set = quitSignals();
    fd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0)
        return;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
        signalfd_siginfo info;
        while (::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        QCoreApplication::quit();
    });
}

void exitOnSignals() {
    blockQuitSignals();
    std::thread([] {
        const sigset_t set = quitSignals();
        int signal = 0;
        if (sigwait(&set, &signal) == 0)
            std::_Exit(128 + signal);
    }).detach();
}
