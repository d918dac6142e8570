#include "opac/refresher.h"

#include <chrono>
#include <exception>
#include <iostream>

namespace kashidashi::opac {

bool RefreshSite(Site& site, bool countLoans) {
    try {
        auto counts = site.Refresh();
        if (counts.added + counts.changed + counts.removed > 0)
            std::clog << "kashidashi-opac: " << (site.Id().empty() ? "" : site.Id() + ": ")
                      << "索引 " << counts.books << " 冊（追加 " << counts.added << "、変更 "
                      << counts.changed << "、削除 " << counts.removed << "）" << std::endl;
        if (countLoans) site.CountLoans();
        return true;
    } catch (const std::exception& error) {
        std::cerr << "kashidashi-opac: " << (site.Id().empty() ? "" : site.Id() + ": ")
                  << "データを読めませんでした: " << error.what() << std::endl;
        return false;
    }
}

Refresher::Refresher(Sites& sites, int indexSeconds, int loanSeconds)
    : sites_(sites),
      indexSeconds_(indexSeconds),
      loanSeconds_(loanSeconds),
      thread_([this] { Run(); }) {}

Refresher::~Refresher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Refresher::Run() {
    auto lastCount = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::seconds(indexSeconds_), [this] { return stop_; })) {
        lock.unlock();
        auto now = std::chrono::steady_clock::now();
        bool count = now - lastCount >= std::chrono::seconds(loanSeconds_);
        if (count) lastCount = now;
        for (Site* site : sites_.All()) RefreshSite(*site, count);
        lock.lock();
    }
}

}  // namespace kashidashi::opac
