// Byte-range locks on one lock file beside a folder's database file: the
// locks that several desks respect. They are open-file-description locks
// (F_OFD_SETLK), so two LockFiles of one process conflict like two processes
// do, and every lock vanishes when its LockFile is destroyed or its process
// dies: a killed desk never leaves a lock behind.
//
// Each table has a slot of 2^40 bytes, chosen by a hash of its name in lower
// case. Byte 0 of the slot marks the use of the table (shared: open; exclusive:
// held alone); byte n marks the lock of row n.
//
// Beyond the table slots lie the desks' marks (DeskMarkOffset): an open desk
// window holds byte 0 of them shared and one byte of its own exclusive, and
// writes its machine's name into the file's text at its own place
// (DeskNameOffset); the locks say which names are current.
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

    // Text kept in the file (never locked ranges' meaning, only their bytes):
    // `size` bytes at `offset`; missing bytes read as NUL.
    void WriteText(uint64_t offset, const std::string& text, size_t size);
    std::string ReadText(uint64_t offset, size_t size);

    static uint64_t TableOffset(const std::string& table);
    // The desks' marks: `desk` -1 is the mark every desk holds shared, 0.. a
    // desk's own; DeskNameOffset is where desk `desk` writes its name.
    static constexpr int kDeskSlots = 256;
    static constexpr size_t kDeskNameBytes = 128;
    static uint64_t DeskMarkOffset(int desk);
    static uint64_t DeskNameOffset(int desk) { return uint64_t(desk) * kDeskNameBytes; }
    static uint64_t RowOffset(const std::string& table, int64_t rowId);

  private:
    int fd_ = -1;
};

}  // namespace engine::storage
