// The locks of one connection: table uses and row locks, counted, on top of
// the LockFile that they share with every other connection to the folder.
//
// Within one connection several data sets may use a table at once and lock
// one row again; a table held exclusively admits no other use, from this
// connection or any other.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/storage/locks/lock_file.h"

namespace engine::storage {

class LockTable {
  public:
    explicit LockTable(const std::string& lockFilePath) : file_(lockFilePath) {}

    bool TryUseTable(const std::string& table, bool exclusive);
    void EndUseTable(const std::string& table, bool exclusive);
    bool TryLockRow(const std::string& table, int64_t rowId);
    void UnlockRow(const std::string& table, int64_t rowId);

    // Marks this connection as an open desk on `machine` until it goes;
    // false when every desk's place is taken.
    bool AnnounceDesk(const std::string& machine);
    // The machines of the desks open now, other than this connection's own.
    std::vector<std::string> OpenDesks();

  private:
    struct Use {
        int shared = 0;
        bool exclusive = false;
    };
    LockFile file_;
    std::map<std::string, Use> uses_;
    std::map<std::pair<std::string, int64_t>, int> rows_;
    int desk_ = -1;  // this connection's desk place, once announced
};

}  // namespace engine::storage
