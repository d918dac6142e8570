// The catalogue on a school's server database, reading as a role that may
// only SELECT, and only the columns its pages need (the grants of
// src/opac/resources/reader-role.sql, as the administration guide runs them):
// every page works, and nothing else can be read or written.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "data/schema.h"
#include "engine/common/error.h"
#include "engine/pg_test_server.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"
#include "opac/app.h"
#include "opac/http_client.h"
#include "opac/http_server.h"
#include "opac/site.h"

namespace opac_test {
namespace {

using engine::storage::ServerAddress;

// Statements as the database's owner (the test role), through libpq.
std::string OwnerSql(const ServerAddress& address, const std::string& sql) {
    std::string port = std::to_string(address.port);
    const char* keys[] = {"host", "port", "user", "password", "dbname", nullptr};
    const char* values[] = {address.host.c_str(),     port.c_str(),
                            address.user.c_str(),     address.password.c_str(),
                            address.database.c_str(), nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 0);
    std::string error;
    if (PQstatus(conn) != CONNECTION_OK) {
        error = PQerrorMessage(conn);
    } else {
        PGresult* result = PQexec(conn, sql.c_str());
        if (PQresultStatus(result) != PGRES_COMMAND_OK) error = PQresultErrorMessage(result);
        PQclear(result);
    }
    PQfinish(conn);
    return error;
}

void RunSql(engine::storage::Connection& connection, const std::string& text) {
    auto none = [](const std::string&) -> std::optional<engine::Value> { return std::nullopt; };
    for (const auto& statement : engine::sql::ParseScript(text))
        engine::translate::ExecuteStatement(statement, connection, none, text);
}

// A login role of the cluster, dropped when it goes (after the databases
// that granted it anything).
struct Role {
    Role() : name("kx_opac_" + std::to_string(getpid())) {
        AdminSql("DROP ROLE IF EXISTS " + name);
        error = AdminSql("CREATE ROLE " + name + " LOGIN PASSWORD 'reader-pass'");
    }
    ~Role() { AdminSql("DROP ROLE IF EXISTS " + name); }
    static std::string AdminSql(const std::string& sql) { return engine::testing::AdminSql(sql); }
    std::string name, error;
};

// The grants the guide runs, with psql's variables filled in.
std::string Grants(const std::string& role, const std::string& database) {
    std::ifstream in(KX_TEST_DATA "/../src/opac/resources/reader-role.sql");
    std::stringstream text;
    text << in.rdbuf();
    std::string sql = std::regex_replace(text.str(), std::regex("--[^\n]*"), "");
    sql = std::regex_replace(sql, std::regex(":\"role\""), "\"" + role + "\"");
    return std::regex_replace(sql, std::regex(":\"DBNAME\""), "\"" + database + "\"");
}

TEST(ServerModeTest, TheCatalogueReadsAsASelectOnlyRoleAndSeesNoNames) {
    KX_NEED_SERVER();
    Role role;
    ASSERT_EQ(role.error, "");
    engine::testing::ScratchDatabase database;
    {
        auto owner = engine::storage::OpenRemote(database.address());
        RunSql(*owner, kashidashi::DataTablesScript());
        RunSql(*owner,
               "Insert Into HKN (HKN_ID, HKN) Values (1, '図書室');"
               "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
               "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('100001', '10101', "
               "'青木　一郎', 101);"
               "Insert Into Book (BOOK_ID, syomei2, key1, HKN_ID, kashidashiF, kintaiF, haikiF, "
               "tourokubi) Values (1, '宇宙のふしぎ', 'ｳﾁｭｳﾉﾌｼｷﾞ', 1, True, False, False, "
               "'2026/12/01');"
               "Insert Into Book (BOOK_ID, syomei2, key1, HKN_ID, kashidashiF, kintaiF, haikiF) "
               "Values (2, '星のずかん', 'ﾎｼﾉｽﾞｶﾝ', 1, False, False, False);"
               "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
               "kashidashiF) Values (1, '100001', '10101', '2026/12/01', '2026/12/20', '1');"
               "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name) Values (1, 1, "
               "'100001', '10101', '青木　一郎')");
    }
    ASSERT_EQ(OwnerSql(database.address(), Grants(role.name, database.name())), "");

    ServerAddress reader = database.address();
    reader.user = role.name;
    reader.password = "reader-pass";
    char folder[] = "/tmp/kx-opac-server-XXXXXX";
    std::string index = std::string(mkdtemp(folder)) + "/index.sqlite";
    kashidashi::opac::Sites sites;
    sites.Add(std::make_unique<kashidashi::opac::Site>(
        "", "テスト小学校", [reader] { return engine::storage::OpenRemote(reader); }, index));
    EXPECT_EQ(sites.Find("")->Refresh().books, 2);
    sites.Find("")->CountLoans();
    kashidashi::opac::App app(sites);
    kashidashi::opac::ServerOptions options;
    options.port = 0;
    options.log = false;
    kashidashi::opac::HttpServer server(
        options, [&app](kashidashi::opac::Request& request) { return app.Handle(request); });
    server.Start();
    int port = server.Port();
    Answer found = Get(port, "/?q=%E3%81%86%E3%81%A1%E3%82%85%E3%81%86");  // うちゅう
    EXPECT_NE(found.body.find("宇宙のふしぎ"), std::string::npos);
    Answer book = Get(port, "/book/1");
    EXPECT_NE(book.body.find("貸出中（12月20日までに返る予定）"), std::string::npos);
    EXPECT_NE(book.body.find("予約して待っている人：1人"), std::string::npos);
    for (const char* target : {"/new", "/popular", "/popular?grade=low"})
        EXPECT_EQ(Get(port, target).status, 200) << target;
    server.Stop();

    // The role itself, without the catalogue's read-only fence.
    auto raw = engine::storage::OpenRemote(reader);
    for (const char* text :
         {"Update Book Set syomei2 = 'x' Where BOOK_ID = 1", "Delete From kashibo",
          "Insert Into HKN (HKN_ID, HKN) Values (9, 'x')", "Select NAME From Name",
          "Select Seito_No, Name From yoyaku", "Select seitoNo From kashibo"})
        EXPECT_THROW(RunSql(*raw, text), engine::EngineError) << text;
    raw.reset();
    sites = kashidashi::opac::Sites();
    std::filesystem::remove_all(std::filesystem::path(index).parent_path());
}

}  // namespace
}  // namespace opac_test
