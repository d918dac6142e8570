#include "widgets/thread_run.h"

#include <QTimer>
#include <exception>
#include <thread>

namespace kashidashi {

void WaitingThread::Call(const std::function<void()>& call) const {
    QMetaObject::invokeMethod(
        &context_, [&] { call(); }, Qt::BlockingQueuedConnection);
}

void RunOnThread(const std::function<void(const WaitingThread&)>& work,
                 QEventLoop::ProcessEventsFlags held, const std::function<void()>& tick,
                 int tickMs) {
    QEventLoop loop;
    const WaitingThread waiting(loop);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(waiting);
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop ends on its own thread, after what is already queued.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer timer;
    if (tick) {
        QObject::connect(&timer, &QTimer::timeout, tick);
        timer.start(tickMs);
    }
    loop.exec(held);
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kashidashi
