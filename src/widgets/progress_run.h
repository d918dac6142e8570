// Long work of a window (a backup, a restore, the new school year) run in a thread of its
// own while the window's progress bar moves and its events go on; the
// caller waits for the end, as for a modal window. The window disables
// itself meanwhile, so that nothing is started twice.
//
// `work` gets a Progress to call from its thread; what it throws is thrown
// again here, on the window's thread.
#pragma once

#include <cstdint>
#include <functional>

class QProgressBar;
class QWidget;

namespace kashidashi {

// What the work calls, from its thread, as it goes.
using WorkProgress = std::function<void(int64_t done, int64_t total)>;

void RunWithProgress(QWidget& window, QProgressBar& bar,
                     const std::function<void(const WorkProgress&)>& work);

}  // namespace kashidashi
