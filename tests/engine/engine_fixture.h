// A fresh data folder on disk with a session and a database over it, and a
// way to make tables before the tests that need them. With the environment
// variable KX_ENGINE_BACKEND=server the database is a fresh database on the
// test server instead (pg_test_server.h): ctest runs the suites that hold
// for both backends that way too.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/schema.h"
#include "pg_test_server.h"

namespace engine::testing {

class EngineFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a table with the columns "name TYPE" and a primary index on `key`.
    void MakeTable(const std::string& name,
                   const std::vector<std::pair<std::string, ColumnType>>& columns,
                   const std::vector<std::string>& key = {},
                   const std::vector<storage::IndexDef>& secondary = {});
    // Points a database of another session (another desk) at this fixture's data.
    void PointAtData(TDBSession& otherSession, TDBDatabase& otherDatabase);
    // A table object of this fixture's database, not yet open.
    std::unique_ptr<TDBTable> Table(const std::string& name, const std::string& database = "DATA");

    std::filesystem::path folder;
    std::unique_ptr<TDBSession> session;
    std::unique_ptr<TDBDatabase> database;
    std::unique_ptr<ScratchDatabase> server;  // on the server backend only
};

inline ColumnType Int() {
    return {FieldType::Integer, 0};
}
inline ColumnType Bool() {
    return {FieldType::Boolean, 0};
}
inline ColumnType Text(int size) {
    return {FieldType::String, size};
}
inline ColumnType DateCol() {
    return {FieldType::Date, 0};
}

}  // namespace engine::testing
