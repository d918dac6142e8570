#include "library/backup/backup_manifest.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "library/backup/backup_disk_full.h"
#include "library/backup/backup_out_vfs.h"
#include "library/backup/file_digest.h"

namespace kashidashi::library {
namespace {

constexpr const char* kChecksumPrefix = "sha256:";
constexpr size_t kHexDigits = 64;

// A failure of the manifest's write; the file system of the backup's writes
// calls every kind of full disk SQLITE_FULL.
[[noreturn]] void ThrowManifestFailure(int rc, const std::string& database,
                                       const std::string& why) {
    if ((rc & 0xff) == SQLITE_FULL) ThrowWriteFailure(ENOSPC, database, why);
    throw std::runtime_error("バックアップに確認用の情報を書けません: " + why);
}

void Exec(sqlite3* db, const std::string& database, const std::string& sql) {
    char* message = nullptr;
    if (int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message); rc != SQLITE_OK) {
        std::string why = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        ThrowManifestFailure(rc, database, why);
    }
}

// `digits` written over the file's bytes at `at`.
void Patch(const std::string& database, size_t at, const std::string& digits) {
    int fd = ::open(database.c_str(), O_WRONLY | O_CLOEXEC);
    bool written = fd >= 0 && ::pwrite(fd, digits.data(), digits.size(), static_cast<off_t>(at)) ==
                                  static_cast<ssize_t>(digits.size());
    int error = written ? 0 : errno;
    if (fd >= 0 && ::close(fd) != 0 && written) error = errno, written = false;
    if (!written) ThrowWriteFailure(error, database, "バックアップのチェックサムを書けません。");
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

void WriteRows(const std::string& database, const BackupManifest& m, const std::string& seal) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, BackupOutFileSystem()) !=
        SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("「" + database + "」を開けません。");
    }
    try {
        // A backup of a backup carries the first one's: replaced.
        Exec(db, database, std::string("DROP TABLE IF EXISTS ") + kManifestTable);
        Exec(db, database,
             std::string("CREATE TABLE ") + kManifestTable + " (item CHAR(40), value CHAR(200))");
        Exec(db, database,
             std::string("INSERT INTO ") + kManifestTable + " VALUES ('layout', " +
                 Quoted(std::to_string(m.layout)) + "), ('school_id', " + Quoted(m.schoolId) +
                 "), ('school_name', " + Quoted(m.schoolName) + "), ('made_at', " +
                 Quoted(m.madeAt) + "), ('automatic', " + Quoted(m.automatic ? "1" : "0") +
                 "), ('checksum', " + Quoted(seal) + ")");
        if (int rc = FlushBackupOut(db); rc != SQLITE_OK)
            ThrowManifestFailure(rc, database, sqlite3_errstr(rc));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

}  // namespace

void SealBackup(const std::string& database, const BackupManifest& manifest) {
    const std::string blank = kChecksumPrefix + std::string(kHexDigits, '0');
    WriteRows(database, manifest, blank);
    // The digits are zeros as written, so the file as it is gives the sum.
    auto places = FindInFile(database, blank);
    if (!places || places->first != places->last)
        throw std::runtime_error("バックアップのチェックサムを書けません。");
    const size_t at = places->first + std::string(kChecksumPrefix).size();
    Patch(database, at, Sha256OfFile(database));
}

std::optional<BackupManifest> ReadManifest(const std::string& file) {
    sqlite3* db = nullptr;
    std::string uri = "file:" + file + "?immutable=1";
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return std::nullopt;
    }
    sqlite3_stmt* statement = nullptr;
    std::string sql = std::string("SELECT item, value FROM ") + kManifestTable;
    std::optional<BackupManifest> manifest;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        manifest.emplace();
        manifest->layout = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto text = [&](int column) {
                const unsigned char* value = sqlite3_column_text(statement, column);
                return value ? std::string(reinterpret_cast<const char*>(value)) : "";
            };
            std::string item = text(0), value = text(1);
            if (item == "layout") manifest->layout = std::atoi(value.c_str());
            if (item == "school_id") manifest->schoolId = value;
            if (item == "school_name") manifest->schoolName = value;
            if (item == "made_at") manifest->madeAt = value;
            if (item == "automatic") manifest->automatic = value == "1";
            if (item == "checksum") manifest->checksum = value;
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return manifest;
}

std::vector<std::string> SealProblems(const std::string& file) {
    auto manifest = ReadManifest(file);
    if (!manifest || manifest->checksum.empty())
        return {"バックアップの確認用の情報（チェックサム）がありません"};
    const std::string& seal = manifest->checksum;
    const size_t prefix = std::string(kChecksumPrefix).size();
    if (seal.size() != prefix + kHexDigits || seal.rfind(kChecksumPrefix, 0) != 0)
        return {"バックアップのチェックサムが壊れています"};
    try {
        auto places = FindInFile(file, seal);
        if (!places ||
            Sha256OfFile(file, places->first + prefix, kHexDigits) != seal.substr(prefix))
            return {"バックアップの内容がチェックサムと合いません（ファイルが壊れています）"};
    } catch (const std::exception& error) {
        return {error.what()};
    }
    return {};
}

}  // namespace kashidashi::library
