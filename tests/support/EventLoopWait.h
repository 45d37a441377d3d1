#pragma once
// Waiting in tests while the Qt event loop runs (serial ports, timers, queued calls).

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace vantor::test {

// Processes events until the condition holds or the timeout passes; returns the condition.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Processes events for a while.
inline void Pump(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

} // namespace vantor::test
