// Byte-range locks on one lock file beside a folder's database file: the
// locks that several desks respect. They are open-file-description locks
// (F_OFD_SETLK), so two LockFiles of one process conflict like two processes
// do, and every lock vanishes when its LockFile is destroyed or its process
// dies: a killed desk never leaves a lock behind.
//
// Each table has a slot of 2^40 bytes, chosen by a hash of its name in lower
// case. Byte 0 of the slot marks the use of the table (shared: open; exclusive:
// held alone); byte n marks the lock of row n.
#pragma once

#include <cstdint>
#include <string>

namespace engine::storage {

enum class LockKind { Shared, Exclusive };

class LockFile {
  public:
    explicit LockFile(const std::string& path);  // throws EngineError when it cannot open
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Never waits: false when another holder prevents the lock.
    bool TryLock(uint64_t offset, LockKind kind);
    void Unlock(uint64_t offset);

    static uint64_t TableOffset(const std::string& table);
    static uint64_t RowOffset(const std::string& table, int64_t rowId);

  private:
    int fd_ = -1;
};

}  // namespace engine::storage
