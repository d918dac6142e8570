// The thread that keeps every school's word index and lists current: the
// index and the code lists every `indexSeconds` (30: a registration or an
// edit is found within a minute), the loan counts of よく読まれている本 every
// `loanSeconds` (600). A failure (a server that went away) is logged and
// tried again at the next turn; the pages go on with what they have.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "opac/site.h"

namespace kashidashi::opac {

class Refresher {
  public:
    Refresher(Sites& sites, int indexSeconds, int loanSeconds);
    ~Refresher();  // stops the thread
    Refresher(const Refresher&) = delete;
    Refresher& operator=(const Refresher&) = delete;

  private:
    void Run();
    Sites& sites_;
    int indexSeconds_, loanSeconds_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// One turn for one school, its failures logged: true when it went well.
bool RefreshSite(Site& site, bool countLoans);

}  // namespace kashidashi::opac
