#include "tools/data_folder.h"

#include <atomic>
#include <filesystem>

#include "data/schema.h"
#include "engine/dataset/query.h"
#include "engine/session/data_location.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "platform/paths.h"

namespace kashidashi::admin {
namespace {

// Sessions register by name for their whole life; each folder gets its own.
std::string NewSessionName() {
    static std::atomic<int> counter{0};
    return "kashidashi-admin-" + std::to_string(++counter);
}

}  // namespace

DataFolder::DataFolder(const std::string& folder, bool readsBackupFile) : folder_(folder) {
    std::string problem;
    auto location = engine::ParseLocation(folder, problem);
    if (!location) throw AdminError(problem);
    if (location->backupFile && !readsBackupFile)
        throw AdminError("「" + folder +
                         "」はファイルです。データフォルダかサーバを指定してください。");
    if (location->backupFile) {
        // Read through a copy, so that the file itself is never changed.
        scratch_ = std::make_unique<platform::TemporaryFolder>("kashidashi-read-");
        std::filesystem::copy_file(location->folder,
                                   scratch_->File(engine::storage::sqlite::kDatabaseFileName));
        location->folder = scratch_->Path();
        location->backupFile = false;
    }
    if (!location->server && !scratch_ && (folder.empty() || !platform::FolderExists(folder)))
        throw AdminError("フォルダ「" + folder + "」がありません。先にフォルダを作ってください。");
    session_ = std::make_unique<engine::TDBSession>(NewSessionName());
    database_ = std::make_unique<engine::TDBDatabase>("AAA", *session_);
    if (location->server)
        engine::PointAt(*session_, *database_, *location);
    else
        database_->SetDirectory(scratch_ ? location->folder : folder);
}

DataFolder::~DataFolder() {
    database_.reset();  // closes its tables and rolls back what was left open
    session_.reset();
    scratch_.reset();  // after the database that had it open
}

std::unique_ptr<engine::TDBTable> DataFolder::Table(const std::string& name) {
    auto table = std::make_unique<engine::TDBTable>();
    table->SetSessionName(session_->SessionName());
    table->SetDatabaseName(database_->DatabaseName());
    table->SetTableName(name);
    return table;
}

std::vector<std::string> DataFolder::ExistingDataTables() {
    std::vector<std::string> found;
    for (const auto& name : DataTableNames()) {
        if (database_->Connection().DescribeTable(name)) found.push_back(name);
    }
    return found;
}

void DataFolder::RequireTable(const std::string& name) {
    if (database_->Connection().DescribeTable(name)) return;
    throw AdminError("フォルダ「" + folder_ + "」に " + name +
                     " 表がありません。init でデータ表を作ってください。");
}

void DataFolder::RunScript(const std::string& script) {
    engine::TDBQuery query;
    query.SetSessionName(session_->SessionName());
    query.SetDatabaseName(database_->DatabaseName());
    query.SQL().SetText(script);
    query.ExecSQL();
}

}  // namespace kashidashi::admin
