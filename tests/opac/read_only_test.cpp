// The catalogue only reads: its connections refuse every write, and a
// browse through every page leaves the school's data file as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/sql/parser.h"
#include "engine/storage/open_local.h"
#include "engine/translate/statement_runner.h"
#include "opac/read_only_connection.h"
#include "opac/server_fixture.h"

namespace opac_test {
namespace {

class ReadOnlyTest : public ServerFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        AddBook(1, "うちゅう", "ｳﾁｭｳ", "ほしの", "HKN_ID=1");
    }
    std::string DataFile() {
        std::ifstream in(folder / "kashidashi.db", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
};

TEST_F(ReadOnlyTest, EveryWriteIsRefused) {
    auto data = kashidashi::opac::ReadOnly(engine::storage::OpenLocal(folder.string()));
    auto none = [](const std::string&) -> std::optional<engine::Value> { return std::nullopt; };
    for (const char* text : {"Update Book Set syomei2 = 'x'", "Delete From Book",
                             "Insert Into HKN (HKN_ID, HKN) Values (9, 'x')",
                             "Create Table kx_opac (ID Integer)", "Drop Table Book"})
        EXPECT_THROW(engine::translate::ExecuteStatement(engine::sql::ParseStatement(text), *data,
                                                         none, text),
                     std::logic_error)
            << text;
    EXPECT_THROW(data->Begin(), std::logic_error);
    EXPECT_THROW(data->TryLockRow("Book", 1), std::logic_error);
    auto book = data->DescribeTable("Book");
    ASSERT_TRUE(book);
    EXPECT_EQ(data->Count(*book, nullptr), 1);
}

TEST_F(ReadOnlyTest, BrowsingEveryPageLeavesTheDataAsItWas) {
    writer.reset();  // nothing else has the data open
    std::string before = DataFile();
    StartServer();
    for (const char* target :
         {"/", "/?q=%E3%81%86", "/?place=1&avail=1&order=title", "/book/1", "/new",
          "/popular?grade=mid", "/furigana?on=1&back=%2F", "/static/opac.css", "/book/99"})
        EXPECT_NE(Get(port, target).status, 500) << target;
    EXPECT_EQ(SendRaw(port,
                      "POST /book/1 HTTP/1.1\r\nHost: x\r\nContent-Type: "
                      "application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\na=1")
                  .status,
              405);
    server.reset();
    sites = kashidashi::opac::Sites();
    EXPECT_TRUE(DataFile() == before);
}

}  // namespace
}  // namespace opac_test
