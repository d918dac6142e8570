#include "widgets/progress_run.h"

#include <QProgressBar>
#include <QWidget>
#include <atomic>
#include <exception>

#include "widgets/thread_run.h"

namespace kashidashi {
namespace {

constexpr int kShowEveryMs = 50;
constexpr int kBarSteps = 1000;

}  // namespace

void RunWithProgress(QWidget& window, QProgressBar& bar,
                     const std::function<void(const WorkProgress&)>& work) {
    std::atomic<int64_t> done{0}, total{0};
    window.setEnabled(false);
    bar.setRange(0, kBarSteps);
    bar.setValue(0);
    std::exception_ptr failure;
    try {
        // The window is disabled: its events go on, nothing can start twice.
        RunOnThread(
            [&](const WaitingThread&) {
                work([&](int64_t d, int64_t t) {
                    done = d;
                    total = t;
                });
            },
            QEventLoop::AllEvents,
            [&] {
                if (total > 0) bar.setValue(static_cast<int>(done * kBarSteps / total));
            },
            kShowEveryMs);
    } catch (...) {
        failure = std::current_exception();
    }
    bar.setValue(kBarSteps);
    window.setEnabled(true);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kashidashi
