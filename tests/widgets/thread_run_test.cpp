// Work on a thread of its own under a local event loop: the waiting thread
// goes on with its events (ticks, timers) until the work ends, a call from
// the work runs on the waiting thread, a failure is thrown on it.
#include "widgets/thread_run.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace widgets_test {
namespace {

using kashidashi::RunOnThread;
using kashidashi::WaitingThread;

TEST(ThreadRun, TheWaitingThreadGoesOnAndAnswersTheWork) {
    for (auto held : {QEventLoop::AllEvents, QEventLoop::ExcludeUserInputEvents}) {
        QThread* const waiting = QThread::currentThread();
        int ticks = 0;
        bool timerFired = false;
        QTimer::singleShot(10, [&] { timerFired = true; });
        QThread* calledOn = nullptr;
        std::atomic<bool> workEnded{false};
        RunOnThread(
            [&](const WaitingThread& thread) {
                EXPECT_NE(QThread::currentThread(), waiting);
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                thread.Call([&] { calledOn = QThread::currentThread(); });
                workEnded = true;
            },
            held, [&] { ++ticks; }, 10);
        EXPECT_TRUE(workEnded);  // the call returns after the work, not before
        EXPECT_EQ(calledOn, waiting);
        EXPECT_TRUE(timerFired);
        EXPECT_GE(ticks, 3);
    }
}

TEST(ThreadRun, TheWorksFailureIsThrownOnTheWaitingThread) {
    EXPECT_THROW(RunOnThread([](const WaitingThread&) { throw std::runtime_error("full disk"); },
                             QEventLoop::AllEvents),
                 std::runtime_error);
    // Nothing of the failed run is left to end a later loop early.
    bool later = false;
    RunOnThread(
        [&](const WaitingThread&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            later = true;
        },
        QEventLoop::AllEvents);
    EXPECT_TRUE(later);
}

}  // namespace
}  // namespace widgets_test
