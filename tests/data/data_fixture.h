// A fresh folder on disk with a session and a database "DB" over it, for the
// tests of the data layer; statements of the engine's dialect run through a
// query, rows are read back through tables.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace data_test {

// One row as column name -> value.
using RowValues = std::map<std::string, engine::Value>;

class DataFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& SessionName() const { return session->SessionName(); }
    // Runs statements (several, separated by ";") on the database.
    void RunSql(const std::string& text);
    // A table object of the database, not yet open.
    std::unique_ptr<engine::TDBTable> Table(const std::string& name);
    bool TableExists(const std::string& name);
    // Every row of a table in its order, every column by name.
    std::vector<RowValues> Rows(const std::string& table);
    // The declared columns of a table, "name TYPE" each.
    std::vector<std::string> Layout(const std::string& table);
    void AppendRow(const std::string& table, const RowValues& values);

    std::filesystem::path folder;
    std::unique_ptr<engine::TDBSession> session;
    std::unique_ptr<engine::TDBDatabase> database;
};

}  // namespace data_test
