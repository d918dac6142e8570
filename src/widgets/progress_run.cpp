#include "widgets/progress_run.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <exception>
#include <thread>

namespace kashidashi {
namespace {

constexpr int kShowEveryMs = 50;
constexpr int kBarSteps = 1000;

}  // namespace

void RunWithProgress(QWidget& window, QProgressBar& bar,
                     const std::function<void(const WorkProgress&)>& work) {
    std::atomic<int64_t> done{0}, total{0};
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    window.setEnabled(false);
    bar.setRange(0, kBarSteps);
    bar.setValue(0);
    std::thread worker([&] {
        try {
            work([&](int64_t d, int64_t t) {
                done = d;
                total = t;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (total > 0) bar.setValue(static_cast<int>(done * kBarSteps / total));
        if (finished) loop.quit();
    });
    timer.start(kShowEveryMs);
    loop.exec();
    worker.join();
    bar.setValue(kBarSteps);
    window.setEnabled(true);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kashidashi
