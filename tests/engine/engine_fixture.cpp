#include "engine_fixture.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace engine::testing {
void EngineFixture::SetUp() {
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("kx_engine_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    session = std::make_unique<TDBSession>("TEST" + std::to_string(counter));
    database = std::make_unique<TDBDatabase>("DATA", *session);
    if (testing::DataOnServer()) {
        KX_NEED_SERVER();
        server = std::make_unique<ScratchDatabase>();
    }
    PointAtData(*session, *database);
}

void EngineFixture::PointAtData(TDBSession& otherSession, TDBDatabase& otherDatabase) {
    if (!server) {
        otherDatabase.SetDirectory(folder.string());
        return;
    }
    PointAtServer(otherSession, otherDatabase, server->address());
}

void EngineFixture::TearDown() {
    database.reset();
    session.reset();
    server.reset();
    std::filesystem::remove_all(folder);
}

void EngineFixture::MakeTable(const std::string& name,
                              const std::vector<std::pair<std::string, ColumnType>>& columns,
                              const std::vector<std::string>& key,
                              const std::vector<storage::IndexDef>& secondary) {
    storage::TableSchema schema;
    schema.name = name;
    for (const auto& [column, type] : columns) schema.columns.push_back({column, type});
    if (!key.empty()) schema.indexes.push_back({"PRIMARY", key, true, true});
    for (const auto& index : secondary) schema.indexes.push_back(index);
    database->Connection().CreateTable(schema);
}

std::unique_ptr<TDBTable> EngineFixture::Table(const std::string& name,
                                               const std::string& databaseName) {
    auto table = std::make_unique<TDBTable>();
    table->SetSessionName(session->SessionName());
    table->SetDatabaseName(databaseName);
    table->SetTableName(name);
    return table;
}

}  // namespace engine::testing
