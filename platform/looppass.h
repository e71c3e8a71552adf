#pragma once

#include <QObject>

#include <functional>

// Runs its work once the handler running now has returned to the thread's event loop, however
// often it is asked before then: when the loop next passes, before it waits or after it has run
// what was due. Unlike a queued call it posts nothing, so that the loop is not woken for it.
class LoopPass : public QObject {
    Q_OBJECT

public:
    explicit LoopPass(std::function<void()> work, QObject* parent = nullptr);

    void request() { m_requested = true; }

private:
    void pass();

    std::function<void()> m_work;
    bool m_requested = false;
};
