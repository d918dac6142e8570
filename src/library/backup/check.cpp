#include "library/backup/check.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "data/schema.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/check_rules.h"
#include "library/backup/storage_check.h"
#include "library/table_hold.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

constexpr const char* kStorage = "[記憶域] ";

std::string DatabaseFile(const DataPlace& place) {
    if (place.kind != DataPlace::Kind::Folder) return place.path;
    return (std::filesystem::path(place.path) / engine::storage::sqlite::kDatabaseFileName)
        .string();
}

std::vector<std::string> StorageFindings(const DataPlace& place) {
    std::vector<std::string> found;
    if (place.kind == DataPlace::Kind::BackupFile)
        for (const auto& problem : SealProblems(place.path)) found.push_back(kStorage + problem);
    if (!found.empty()) return found;
    for (const auto& problem : DatabaseFileProblems(DatabaseFile(place)))
        found.push_back(kStorage + problem);
    return found;
}

// Whether the database's journal is one an interrupted write left (a hot
// journal): a reader that may not write meets it and can go no further. The
// journal of a desk writing now is no such journal.
bool InterruptedWriteLeft(const std::string& database) {
    std::error_code error;
    if (!std::filesystem::exists(database + "-journal", error)) return false;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kDeskLockRule.retryCount * kDeskLockRule.waitMs);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return rc == SQLITE_READONLY_ROLLBACK;
}

// The journal is rolled back by the first reader that may write, under the
// folder's locks, as the next desk's would roll it back.
void RollBackInterruptedWrite(const DataPlace& place, CheckReport& report) {
    if (place.kind != DataPlace::Kind::Folder || !InterruptedWriteLeft(DatabaseFile(place))) return;
    PlaceConnection connection(place);
    connection->BeginSnapshot();
    connection->TableNames();  // the first read rolls the journal back
    connection->Rollback();
    report.notes.push_back("中断された書き込みがありました。元に戻してから点検しました。");
}

// On a server: every data table readable to its last row.
std::vector<std::string> UnreadableTables(Connection& connection) {
    std::vector<std::string> found;
    for (const auto& name : DataTableNames()) {
        try {
            auto schema = connection.DescribeTable(name);
            if (!schema) {
                found.push_back(kStorage + name + " 表がありません");
                continue;
            }
            engine::storage::ScanRequest request;
            request.table = &*schema;
            request.limit = 1'000'000'000;
            connection.Scan(request);
        } catch (const std::exception& error) {
            found.push_back(kStorage + name + " 表を読めません: " + error.what());
        }
    }
    return found;
}

void UpdateColumn(Connection& connection, const engine::storage::TableSchema& table,
                  const StoredRow& row, int column, const Value& value) {
    auto values = row.values;
    values[column] = value;
    if (!connection.UpdateRow(table, row.id, row.values, values))
        throw std::runtime_error(table.name +
                                 " 表の行が修復の途中で変わりました。何も変えていません。");
}

std::vector<std::string> Repair(Connection& connection, const CheckData& data,
                                const CheckFindings& found) {
    std::vector<std::string> repairs;
    int flag = ColumnOf(data.bookTable, "kashidashiF");
    for (const auto& [book, lent] : found.bookFlags) {
        UpdateColumn(connection, data.bookTable, data.books.at(book).row, flag, Value(lent));
        repairs.push_back("修復: 図書番号 " + BookNumber(book) + " の貸出フラグを" +
                          (lent ? "貸出中" : "貸出中でない") + "にしました");
    }
    int count = ColumnOf(data.nameTable, "mihenkyakuSU");
    for (const auto& [user, open] : found.userCounts) {
        UpdateColumn(connection, data.nameTable, data.users.at(user).row, count, Value(open));
        repairs.push_back("修復: 利用者 " + user + " の未返却数を " + std::to_string(open) +
                          " にしました");
    }
    int reserved = ColumnOf(data.bookTable, "yoyakuF");
    for (int64_t book : found.reservedFlags) {
        UpdateColumn(connection, data.bookTable, data.books.at(book).row, reserved, Value(false));
        repairs.push_back("修復: 図書番号 " + BookNumber(book) + " の予約ありの印を外しました");
    }
    return repairs;
}

// The loans' side of the check, read in one snapshot or, for a repair, in
// the transaction that writes it.
void CheckLoansAndFlags(Connection& connection, bool repair, CheckReport& report) {
    std::unique_ptr<TableHold> hold;
    if (repair) {
        hold = std::make_unique<TableHold>(
            connection, std::vector<std::string>{"Book", "Name", "kashibo", "yoyaku"}, "修復");
        connection.Begin();
    } else {
        connection.BeginSnapshot();
    }
    try {
        CheckData data = ReadCheckData(connection);
        CheckFindings found = FindProblems(data);
        report.findings.insert(report.findings.end(), found.unmendable.begin(),
                               found.unmendable.end());
        report.findings.insert(report.findings.end(), found.mendable.begin(), found.mendable.end());
        report.remaining.insert(report.remaining.end(), found.unmendable.begin(),
                                found.unmendable.end());
        if (repair) {
            report.repairs = Repair(connection, data, found);
            connection.Commit(true);
        } else {
            report.remaining.insert(report.remaining.end(), found.mendable.begin(),
                                    found.mendable.end());
            connection.Rollback();
        }
    } catch (...) {
        if (connection.InTransaction()) connection.Rollback();
        throw;
    }
}

}  // namespace

CheckReport CheckPlace(const DataPlace& place, bool repair) {
    if (repair && place.kind == DataPlace::Kind::BackupFile)
        throw std::runtime_error(
            "バックアップファイルは修復できません。復元してから修復してください。");
    CheckReport report;
    RollBackInterruptedWrite(place, report);
    if (place.kind != DataPlace::Kind::Server) report.findings = StorageFindings(place);
    report.remaining = report.findings;
    // A damaged file is not read further: what it would give is not to be trusted.
    if (!report.findings.empty()) return report;
    PlaceConnection connection(place);
    if (place.kind == DataPlace::Kind::Server) {
        report.findings = UnreadableTables(*connection);
        report.remaining = report.findings;
        if (!report.findings.empty()) return report;
    }
    CheckLoansAndFlags(*connection, repair, report);
    return report;
}

}  // namespace kashidashi::library
