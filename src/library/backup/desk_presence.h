// An open desk window makes itself known on its school from opening to
// closing, so that work that must not run beside a desk (a restore, the
// year's rollover) can refuse and say which machines to close: on a data
// folder a mark in the folder's lock file, on a server an advisory lock,
// each held by a connection of the desk's own with the machine's name. A
// killed desk leaves nothing: the mark goes with its process or connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "library/data_place.h"

namespace kashidashi::library {

// This machine's name as the desks show it.
std::string MachineName();

class DeskPresence {
  public:
    // Never throws: a place that cannot be reached now takes no mark (the
    // desk meets and says that itself).
    explicit DeskPresence(const DataPlace& place);
    ~DeskPresence();
    DeskPresence(const DeskPresence&) = delete;
    DeskPresence& operator=(const DeskPresence&) = delete;
    bool Announced() const { return announced_; }

  private:
    std::unique_ptr<PlaceConnection> connection_;
    bool announced_ = false;
};

// The machines of the desks open on `connection`'s place.
std::vector<std::string> OpenDeskMachines(engine::storage::Connection& connection);

// Throws std::runtime_error naming the machines when a desk is open; `what`
// is the work refused ("復元", "年度更新").
void RefuseWhileDesksOpen(engine::storage::Connection& connection, const std::string& what);

}  // namespace kashidashi::library
