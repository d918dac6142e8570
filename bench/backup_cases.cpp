// The backup case: a data folder of 100,000 books and 300,000 loans backed
// up as the librarian's layer does it (online copy a few pages a step,
// staged, synced, renamed, the folder synced, the rows counted), against
// copying the database file raw with the same syncs and rename.
//
//   backup_100k   median seconds of one backup, of one raw copy
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_fixture.h"
#include "data/schema.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "library/backup/backup.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr int kBooks = 100'000;
constexpr int kLoans = 300'000;
constexpr int kUsers = 1'000;
constexpr int kTurns = 5;

std::string Numbers(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(count) + ") ";
}

// The data tables made by the engine's own script, filled through raw SQLite.
void MakeSchool(const std::string& folder) {
    {
        engine::TDBSession session("BACKUPBENCHSETUP");
        engine::TDBDatabase database("SETUP", session);
        database.SetDirectory(folder);
        engine::TDBQuery script;
        script.SetSessionName("BACKUPBENCHSETUP");
        script.SetDatabaseName("SETUP");
        script.SQL().SetText(kashidashi::DataTablesScript());
        script.ExecSQL();
    }
    const std::string today = std::to_string(engine::Today().days);
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(
        Numbers(kBooks) +
        "INSERT INTO Book (BOOK_ID, tourokubi, syomei2, cyosya1, syuppansya, kakaku, NDC_ID, "
        "kashidashiF, ISBN) SELECT i, " +
        today +
        " - 400, '本の題名 ' || i, '著者 ' || "
        "(i % 500), '出版社 ' || (i % 40), 1200, 913, 0, '9784' || substr('00000000' || i, -8) "
        "FROM n");
    raw.Exec(Numbers(kUsers) +
             "INSERT INTO Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) SELECT "
             "substr('000000' || i, -6), substr('00000' || i, -5), '利用者 ' || i, 0, 101 FROM n");
    raw.Exec(Numbers(kLoans) +
             "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, seitoNo, kashidashibi, "
             "henkyakubi) SELECT (i * 7919) % " +
             std::to_string(kBooks) +
             " + 1, "
             "substr('000000' || (i % 1000 + 1), -6), " +
             today +
             " - 300 + i % 280, "
             "substr('00000' || (i % 1000 + 1), -5), " +
             today + " - 310 + i % 280, " + today + " - 305 + i % 280 FROM n");
    raw.Exec("COMMIT");
}

void Sync(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags);
    if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("sync " + path);
    ::close(fd);
}

// The raw side: the file copied under a staging name, synced, renamed, the
// folder synced.
void RawCopy(const std::string& database, const std::string& file) {
    const std::string staging = file + ".part";
    fs::copy_file(database, staging, fs::copy_options::overwrite_existing);
    Sync(staging, O_RDONLY);
    fs::rename(staging, file);
    Sync(fs::path(file).parent_path().string(), O_RDONLY | O_DIRECTORY);
}

}  // namespace

void RunBackupCases() {
    const std::string folder = ScratchFolder("backup-school");
    const std::string out = ScratchFolder("backup-files");
    MakeSchool(folder);
    const std::string database = folder + "/kashidashi.db";
    RawCopy(database, out + "/warm.kxbak");  // the source in the page cache for both
    const auto source = kashidashi::library::DataPlace::Folder(folder);
    ReportInStep(
        "backup_100k", kTurns,
        [&](int turn) {
            std::string file = out + "/backup" + std::to_string(turn) + ".kxbak";
            double seconds = Seconds([&] { kashidashi::library::MakeBackup(source, file); });
            fs::remove(file);
            return seconds;
        },
        [&](int turn) {
            std::string file = out + "/raw" + std::to_string(turn) + ".kxbak";
            double seconds = Seconds([&] { RawCopy(database, file); });
            fs::remove(file);
            return seconds;
        });
}

}  // namespace bench
