#include "library/backup/backup_out_vfs.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "library/backup/backup_disk_full.h"

namespace kashidashi::library {
namespace {

constexpr const char* kName = "kx-backup-out";
// SQLite's own write of a file takes less than 128 KiB at a time.
constexpr size_t kGathered = 0x1f000;
// The file control that writes what was gathered and says how it went (the
// close's own failure never reaches the caller).
constexpr int kFlushOpcode = 0x6b780001;

sqlite3_vfs* base = nullptr;
sqlite3_vfs outVfs;

// The file as SQLite sees it: the real file's handle follows it in memory.
struct OutFile {
    sqlite3_file file;
    std::vector<char>* gathered;
    sqlite3_int64 start;
    sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

OutFile* Out(sqlite3_file* file) {
    return reinterpret_cast<OutFile*>(file);
}

// SQLite calls a write full only for ENOSPC; a spent quota or a file larger
// than the medium takes comes back as an I/O error. All three are "full".
int FullWhenSo(int rc) {
    if ((rc & 0xff) == SQLITE_IOERR && MeansDiskFull(errno)) return SQLITE_FULL;
    return rc;
}

int Flush(OutFile* out) {
    if (out->gathered->empty()) return SQLITE_OK;
    errno = 0;
    int rc = out->Real()->pMethods->xWrite(out->Real(), out->gathered->data(),
                                           static_cast<int>(out->gathered->size()), out->start);
    out->gathered->clear();
    return FullWhenSo(rc);
}

int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    OutFile* out = Out(file);
    std::vector<char>& gathered = *out->gathered;
    bool follows =
        !gathered.empty() && offset == out->start + static_cast<sqlite3_int64>(gathered.size());
    if (!follows || gathered.size() + amount > kGathered) {
        if (int rc = Flush(out); rc != SQLITE_OK) return rc;
        out->start = offset;
    }
    const char* bytes = static_cast<const char*>(data);
    gathered.insert(gathered.end(), bytes, bytes + amount);
    return SQLITE_OK;
}

int Close(sqlite3_file* file) {
    OutFile* out = Out(file);
    int flushed = Flush(out);
    int rc = out->Real()->pMethods->xClose(out->Real());
    delete out->gathered;
    return flushed != SQLITE_OK ? flushed : rc;
}

// Every other call writes what was gathered, then goes to the real file.
template <auto Member, class... Args>
int Then(sqlite3_file* file, Args... args) {
    OutFile* out = Out(file);
    if (int rc = Flush(out); rc != SQLITE_OK) return rc;
    errno = 0;
    return FullWhenSo((out->Real()->pMethods->*Member)(out->Real(), args...));
}

int Read(sqlite3_file* f, void* d, int n, sqlite3_int64 o) {
    return Then<&sqlite3_io_methods::xRead>(f, d, n, o);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
    return Then<&sqlite3_io_methods::xTruncate>(f, size);
}
int Sync(sqlite3_file* f, int flags) {
    return Then<&sqlite3_io_methods::xSync>(f, flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
    return Then<&sqlite3_io_methods::xFileSize>(f, size);
}
int Lock(sqlite3_file* f, int level) {
    return Out(f)->Real()->pMethods->xLock(Out(f)->Real(), level);
}
int Unlock(sqlite3_file* f, int level) {
    return Then<&sqlite3_io_methods::xUnlock>(f, level);
}
int CheckReserved(sqlite3_file* f, int* out) {
    return Out(f)->Real()->pMethods->xCheckReservedLock(Out(f)->Real(), out);
}
int Control(sqlite3_file* f, int op, void* arg) {
    if (op == kFlushOpcode) return Flush(Out(f));
    return Then<&sqlite3_io_methods::xFileControl>(f, op, arg);
}
int SectorSize(sqlite3_file* f) {
    return Out(f)->Real()->pMethods->xSectorSize(Out(f)->Real());
}
int Characteristics(sqlite3_file* f) {
    return Out(f)->Real()->pMethods->xDeviceCharacteristics(Out(f)->Real());
}

const sqlite3_io_methods kMethods = {1,       Close,      Read,           Write,  Truncate,
                                     Sync,    FileSize,   Lock,           Unlock, CheckReserved,
                                     Control, SectorSize, Characteristics};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    OutFile* out = Out(file);
    std::memset(out, 0, sizeof(OutFile));
    int rc = base->xOpen(base, name, out->Real(), flags, outFlags);
    if (rc != SQLITE_OK) return rc;
    out->gathered = new (std::nothrow) std::vector<char>();
    if (!out->gathered) {
        out->Real()->pMethods->xClose(out->Real());
        return SQLITE_NOMEM;
    }
    out->gathered->reserve(kGathered);
    out->file.pMethods = &kMethods;
    return SQLITE_OK;
}

}  // namespace

int FlushBackupOut(sqlite3* db) {
    return sqlite3_file_control(db, "main", kFlushOpcode, nullptr);
}

const char* BackupOutFileSystem() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        base = sqlite3_vfs_find(nullptr);
        outVfs = *base;
        outVfs.iVersion = 1;
        outVfs.szOsFile = static_cast<int>(sizeof(OutFile)) + base->szOsFile;
        outVfs.zName = kName;
        outVfs.xOpen = Open;
        sqlite3_vfs_register(&outVfs, 0);
    });
    return kName;
}

}  // namespace kashidashi::library
