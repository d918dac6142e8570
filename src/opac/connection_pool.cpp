#include "opac/connection_pool.h"

#include <exception>

namespace kashidashi::opac {

ConnectionPool::Lease::~Lease() {
    // Unwinding from a failure: the connection may be broken or mid-read.
    if (std::uncaught_exceptions() > 0 || !connection_) return;
    if (connection_->InTransaction()) connection_->Rollback();
    std::lock_guard lock(pool_.mutex_);
    pool_.idle_.push_back(std::move(connection_));
}

ConnectionPool::Lease ConnectionPool::Take() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(connection));
        }
    }
    return Lease(*this, opener_());
}

}  // namespace kashidashi::opac
