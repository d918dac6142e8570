#include "bench_fixture.h"

#include <algorithm>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/storage/open_local.h"

namespace bench {

std::string ScratchFolder(const std::string& name) {
    auto folder = std::filesystem::temp_directory_path() / ("kx_bench_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    size_t n = seconds.size();
    return n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
}

void ReportInStep(const std::string& name, int turns, const std::function<double(int)>& engine,
                  const std::function<double(int)>& raw) {
    std::vector<double> engineSeconds, rawSeconds;
    for (int turn = 0; turn < turns; ++turn) {
        engineSeconds.push_back(engine(turn));
        rawSeconds.push_back(raw(turn));
    }
    Report(name, Median(engineSeconds), Median(rawSeconds));
}

void Report(const std::string& name, double engine, double raw, int digits) {
    std::printf("%s %.*f %.*f %.2f\n", name.c_str(), digits, engine, digits, raw, engine / raw);
    std::fflush(stdout);
}

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

RawDb::RawDb(const std::string& folder) {
    if (sqlite3_open((folder + "/kashidashi.db").c_str(), &db_) != SQLITE_OK)
        throw std::runtime_error("cannot open the benchmark database");
    sqlite3_busy_timeout(db_, 10000);
}

RawDb::~RawDb() {
    sqlite3_close(db_);
}

void RawDb::Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text + " in " + sql);
    }
}

namespace {

using engine::ColumnType;
using engine::FieldType;

engine::storage::TableSchema Schema(const std::string& name,
                                    std::vector<engine::storage::ColumnDef> columns,
                                    std::vector<engine::storage::IndexDef> indexes) {
    return engine::storage::TableSchema{name, std::move(columns), std::move(indexes)};
}

}  // namespace

void CreateLendingTables(engine::storage::Connection& connection) {
    ColumnType integer{FieldType::Integer, 0}, boolean{FieldType::Boolean, 0},
        date{FieldType::Date, 0};
    connection.CreateTable(
        Schema("Book",
               {{"BOOK_ID", integer},
                {"syomei2", {FieldType::String, 60}},
                {"cyosya1", {FieldType::String, 30}},
                {"kashidashiF", boolean},
                {"yoyakuF", boolean},
                {"ISBN", {FieldType::String, 15}},
                {"tourokubi", date}},
               {{"PRIMARY", {"BOOK_ID"}, true, true}, {"ISBN", {"ISBN"}, false, false}}));
    connection.CreateTable(Schema("Name",
                                  {{"NAME_ID", {FieldType::String, 6}},
                                   {"seito_No", {FieldType::String, 5}},
                                   {"NAME", {FieldType::String, 20}},
                                   {"mihenkyakuSU", {FieldType::Smallint, 0}}},
                                  {{"PRIMARY", {"NAME_ID"}, true, true}}));
    connection.CreateTable(Schema("kashibo",
                                  {{"BOOK_ID", integer},
                                   {"NAME_ID", {FieldType::String, 6}},
                                   {"henkyakuyotei", date},
                                   {"kashidashiF", {FieldType::String, 1}},
                                   {"seitoNo", {FieldType::String, 5}},
                                   {"kashidashibi", date},
                                   {"henkyakubi", date},
                                   {"ISBN_ID", {FieldType::String, 15}}},
                                  {{"Book_ID", {"BOOK_ID"}, false, false},
                                   {"kashidashibi", {"kashidashibi"}, false, false}}));
}

void MakeLendingTables(const std::string& folder, int books) {
    CreateLendingTables(*engine::storage::OpenLocal(folder));
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
             std::to_string(books) +
             ") INSERT INTO Book SELECT i, '本の題名 ' || i, '著者 ' || (i % 500), 0, 0, "
             "'9784' || substr('00000000' || i, -8), 45000 + i % 2000 FROM n");
    raw.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
        "INSERT INTO Name SELECT substr('000000' || i, -6), substr('00000' || i, -5), "
        "'利用者 ' || i, 0 FROM n");
    raw.Exec("COMMIT");
}

// The school of a million books, made once by the built kashidashi-admin
// beside this program and kept; a marker file says it was finished.
std::string LargeSchoolFolder() {
    const std::string folder = "/tmp/kx-bench-school-1m";
    const std::string marker = folder + "/made";
    if (std::filesystem::exists(marker)) return folder;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    const auto admin = self.parent_path().parent_path() / "src/tools/kashidashi-admin";
    const std::string command = admin.string() + " demo " + folder +
                                " --books 1000000 --users 30000 --loans 3000000"
                                " --reservations 3000 >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("demo failed: " + command);
    std::ofstream(marker) << "made\n";
    return folder;
}

}  // namespace bench
