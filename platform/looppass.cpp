#include "platform/looppass.h"

#include <QAbstractEventDispatcher>
#include <QThread>

#include <utility>

LoopPass::LoopPass(std::function<void()> work, QObject* parent)
    : QObject(parent), m_work(std::move(work)) {
    // A loop that waits tells before it waits; one asked only to run what is due (a test's
    // wait) tells as it starts each round.
    const auto* loop = QAbstractEventDispatcher::instance(thread());
    connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, &LoopPass::pass);
    connect(loop, &QAbstractEventDispatcher::awake, this, &LoopPass::pass);
}

void LoopPass::pass() {
    if (std::exchange(m_requested, false))
        m_work();
}
