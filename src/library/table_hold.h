// Exclusive use of a place's data tables for work no desk may see half done
// (a restore, a repair): taken for every table or for none, held until the
// TableHold goes. A desk that has one of the tables open (it is lending,
// returning, reading a list) keeps the hold from being taken; while it is
// held, a desk's open of one of them fails at once.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace kashidashi::library {

class TableHold {
  public:
    // Throws std::runtime_error naming the first table another session
    // uses; `what` says the work in the message ("復元", "修復").
    TableHold(engine::storage::Connection& connection, const std::vector<std::string>& tables,
              const std::string& what);
    ~TableHold();
    TableHold(const TableHold&) = delete;
    TableHold& operator=(const TableHold&) = delete;

  private:
    void Release();

    engine::storage::Connection& connection_;
    std::vector<std::string> held_;
};

}  // namespace kashidashi::library
