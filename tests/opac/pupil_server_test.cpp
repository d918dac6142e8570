// The pupils' pages on a school's server database through a catalogue role
// with the reader's grants (reader-role.sql) and the pupils' pages' own
// (kashidashi-admin web-grants): login with its lock count, reserving and
// cancelling through the desk's rules work; no loan, user or other book
// column can change.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "data/schema.h"
#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/pg_test_server.h"
#include "engine/session/session.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"
#include "library/accounts/web_accounts.h"
#include "library/accounts/web_grants.h"
#include "library/accounts/web_reservations.h"
#include "library/sql_rows.h"

namespace opac_test {
namespace {

using namespace kashidashi;
using engine::storage::ServerAddress;

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

std::string ReaderGrants(const std::string& role, const std::string& database) {
    std::ifstream in(KX_TEST_DATA "/../src/opac/resources/reader-role.sql");
    std::stringstream text;
    text << in.rdbuf();
    std::string sql = std::regex_replace(text.str(), std::regex("--[^\n]*"), "");
    sql = std::regex_replace(sql, std::regex(":\"role\""), "\"" + role + "\"");
    return std::regex_replace(sql, std::regex(":\"DBNAME\""), "\"" + database + "\"");
}

struct Role {
    Role() : name("kx_pupil_" + std::to_string(getpid())) {
        engine::testing::AdminSql("DROP ROLE IF EXISTS " + name);
        error = engine::testing::AdminSql("CREATE ROLE " + name + " LOGIN PASSWORD 'pupil-pass'");
    }
    ~Role() { engine::testing::AdminSql("DROP ROLE IF EXISTS " + name); }
    std::string name, error;
};

TEST(PupilServerTest, TheCatalogueRoleChangesOnlyReservationsTheBooksMarkAndItsAccounts) {
    KX_NEED_SERVER();
    Role role;
    ASSERT_EQ(role.error, "");
    engine::testing::ScratchDatabase database;
    std::string password;
    {
        auto owner = engine::storage::OpenRemote(database.address());
        RunSql(*owner, kashidashi::DataTablesScript());
        RunSql(*owner,
               "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
               "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('100001', '10101', "
               "'青木　一郎', 101);"
               "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF, kintaiF, haikiF) "
               "Values (1, '宇宙のふしぎ', '978400000001', True, False, False);"
               "Insert Into Book (BOOK_ID, syomei2, kashidashiF, kintaiF, haikiF) "
               "Values (2, '星のずかん', False, False, False);"
               "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
               "kashidashiF) Values (2, '100001', '10101', '2026/12/01', '2026/12/20', '1')");
        accounts::EnsureWebTables(*owner);
        password = accounts::IssuePassword(*owner, "100001", engine::Now());
    }
    std::string database_name = database.name();
    std::transform(database_name.begin(), database_name.end(), database_name.begin(), ::tolower);
    ASSERT_EQ(database_name, database.name()) << "the grants take plain names";
    ASSERT_EQ(
        OwnerSql(database.address(), ReaderGrants(role.name, database.name()) +
                                         accounts::CatalogueGrants(database.name(), role.name)),
        "");
    ServerAddress pupil = database.address();
    pupil.user = role.name;
    pupil.password = "pupil-pass";
    auto raw = engine::storage::OpenRemote(pupil);

    // A wrong password is counted, the right one logs in.
    const auto now = engine::Now();
    EXPECT_EQ(accounts::Login(*raw, "10101", "nope", now).outcome, accounts::LoginOutcome::Refused);
    auto login = accounts::Login(*raw, "10101", password, now);
    ASSERT_EQ(login.outcome, accounts::LoginOutcome::LoggedIn);
    EXPECT_EQ(accounts::ChangePassword(*raw, login.user, password, "hoshizora7", now),
              accounts::ChangeOutcome::Changed);
    // Reserve and cancel through the desk's rules.
    auto reserved = accounts::ReserveTitle(*raw, engine::TDBSession::Default(), login.user, 1, 3);
    EXPECT_EQ(reserved.outcome, accounts::ReserveOutcome::Reserved);
    auto mark = library::SelectRows(*raw, "Select yoyakuF From Book Where BOOK_ID=1").rows;
    ASSERT_EQ(mark.size(), 1u);
    EXPECT_TRUE(mark[0].values[0].IsBool() && mark[0].values[0].Bool());
    EXPECT_TRUE(accounts::CancelOwnReservation(*raw, login.user, 1));
    EXPECT_TRUE(library::SelectRows(*raw, "Select Book_ID From yoyaku").rows.empty());

    // Nothing else changes through the role.
    for (const char* text :
         {"Update Book Set syomei2 = 'x' Where BOOK_ID = 1", "Update Book Set kashidashiF = False",
          "Delete From Book", "Delete From kashibo", "Update kashibo Set henkyakuyotei = NULL",
          "Insert Into kashibo (BOOK_ID, NAME_ID) Values (1, '100001')",
          "Update Name Set NAME = 'x'", "Delete From Name",
          "Insert Into HKN (HKN_ID, HKN) Values (9, 'x')", "Delete From kx_web_account",
          "Insert Into kx_web_account (NAME_ID) Values ('999999')",
          "Update kx_web_switch Set VAL = 1", "Select Adress From Name"})
        EXPECT_THROW(RunSql(*raw, text), engine::EngineError) << text;
}

}  // namespace
}  // namespace opac_test
