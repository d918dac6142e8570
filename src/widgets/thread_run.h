// Work run on a thread of its own while the calling thread (a window's)
// runs a local event loop, so that the window keeps repainting; the call
// returns when the work has ended, and what the work threw is thrown again
// here, on the calling thread.
//
// What differs between the users is only what the loop holds back until
// the end: user input for a window that stays enabled
// (QEventLoop::ExcludeUserInputEvents; the keys and clicks wait in the queue
// and are delivered afterwards, nothing is lost), nothing for a window that
// disabled itself (QEventLoop::AllEvents). `tick`, if given, runs on the
// calling thread every `tickMs` meanwhile (a progress bar).
//
// The work may run code on the calling thread (a message box) through the
// WaitingThread it is given, waiting for its end. The work must touch no
// object of the calling thread otherwise (no data set of the data module).
#pragma once

#include <QEventLoop>
#include <functional>

namespace kashidashi {

// The thread that waits in RunOnThread, as the work sees it.
class WaitingThread {
  public:
    explicit WaitingThread(QObject& context) : context_(context) {}
    // Runs `call` on the waiting thread, between its events, and returns
    // when it has run.
    void Call(const std::function<void()>& call) const;

  private:
    QObject& context_;
};

void RunOnThread(const std::function<void(const WaitingThread&)>& work,
                 QEventLoop::ProcessEventsFlags held, const std::function<void()>& tick = {},
                 int tickMs = 50);

}  // namespace kashidashi
