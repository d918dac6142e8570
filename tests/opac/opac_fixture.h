// A small school for the catalogue's tests: the data tables in a folder of
// the test's own, rows written through the engine, and the catalogue's
// school (Site) over it with its index in the same temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/storage/connection.h"
#include "opac/site.h"

namespace opac_test {

class OpacFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Statements (";"-separated) of the engine's dialect on the school.
    void Sql(const std::string& text);
    // A book row: number, title, reading (half-width kana as stored), first
    // author, then further "column=value" pairs as SQL text, ";"-separated.
    void AddBook(int id, const std::string& title, const std::string& reading = "",
                 const std::string& author = "", const std::string& more = "");
    // The catalogue's school over the folder (made at the first call).
    kashidashi::opac::Site& Site();

    std::string schoolName = "テスト小学校";
    std::filesystem::path root;    // the test's temporary folder
    std::filesystem::path folder;  // the data folder
    std::unique_ptr<engine::storage::Connection> writer;
    std::unique_ptr<kashidashi::opac::Site> site;
};

}  // namespace opac_test
