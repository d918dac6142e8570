// Long work of a window (a backup, a restore, a check) run in a thread of its
// own while the window's progress bar moves and its events go on; the
// caller waits for the end, as for a modal window. The window disables
// itself meanwhile, so that nothing is started twice.
//
// `work` gets a Progress to call from its thread; what it throws is thrown
// again here, on the window's thread.
#pragma once

#include <functional>

#include "library/backup_copy.h"

class QProgressBar;
class QWidget;

namespace kashidashi::library {

void RunWithProgress(QWidget& window, QProgressBar& bar,
                     const std::function<void(const Progress&)>& work);

}  // namespace kashidashi::library
