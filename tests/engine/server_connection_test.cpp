// The server backend's connections: the four connect failures with their
// texts, a connection broken under a desk (at rest and inside a
// transaction) reported at the next operation, and locks between two desks
// on one server database.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/common/error.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/postgres/pg_link.h"
#include "pg_test_server.h"

namespace engine::testing {
namespace {

int CodeOf(const std::function<void()>& work, std::string* text = nullptr) {
    try {
        work();
    } catch (const EngineError& e) {
        if (text) *text = e.what();
        return e.code();
    }
    return 0;
}

// A lock released is sent without waiting for the server's answer: another
// desk tries again by the lock rule, as a desk's edit does.
bool WithinTheLockRule(const std::function<bool()>& tryOnce) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        if (tryOnce()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// A desk: a remote session and its data database on the test server.
struct Desk {
    Desk(const std::string& name, const storage::ServerAddress& server)
        : session(name), database("DATA", session) {
        PointAtServer(session, database, server);
    }
    void Exec(const std::string& text) {
        TDBQuery query;
        query.SetSessionName(session.SessionName());
        query.SetDatabaseName("DATA");
        query.SQL().SetText(text);
        query.ExecSQL();
    }
    std::unique_ptr<TDBTable> Table(const std::string& name) {
        auto table = std::make_unique<TDBTable>();
        table->SetSessionName(session.SessionName());
        table->SetDatabaseName("DATA");
        table->SetTableName(name);
        return table;
    }
    int64_t Count(const std::string& table) {
        TDBQuery query;
        query.SetSessionName(session.SessionName());
        query.SetDatabaseName("DATA");
        query.SQL().SetText("SELECT * FROM " + table);
        query.Open();
        return query.RecordCount();
    }
    TDBSession session;
    TDBDatabase database;
};

class ServerConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KX_NEED_SERVER();
        scratch = std::make_unique<ScratchDatabase>();
    }
    // Ends every connection of this test's database on the server.
    void KillConnections() { ASSERT_EQ(scratch->EndConnections(), ""); }
    std::unique_ptr<ScratchDatabase> scratch;
};

struct ConnectCase {
    const char* what;
    std::function<void(storage::ServerAddress&)> spoil;
    int code;
    std::string (*text)(const storage::ServerAddress&);
};

TEST_F(ServerConnectionTest, EachConnectFailureRaisesItsError) {
    auto cannot = [](const storage::ServerAddress& s) {
        return "A connection to the database server at '" + s.host + "' cannot be established";
    };
    auto login = [](const storage::ServerAddress& s) {
        return "A connection to the database server at '" + s.host +
               "' cannot be established, the login information provided is invalid";
    };
    auto database = [](const storage::ServerAddress& s) {
        return "The database '" + s.database + "' does not exist on the database server at '" +
               s.host + "'";
    };
    const ConnectCase cases[] = {
        {"no such host", [](auto& s) { s.host = "kx-no-such-host.invalid"; }, err::kCannotConnect,
         cannot},
        {"nothing on the port", [](auto& s) { s.port = 1; }, err::kCannotConnect, cannot},
        {"unknown user", [](auto& s) { s.user = "kx_nobody"; }, err::kLoginInvalid, login},
        {"wrong password", [](auto& s) { s.password += "x"; }, err::kLoginInvalid, login},
        {"no password", [](auto& s) { s.password.clear(); }, err::kLoginInvalid, login},
        {"no such database", [](auto& s) { s.database = "kx_no_such_db"; },
         err::kRemoteDatabaseMissing, database},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        storage::ServerAddress server = scratch->address();
        c.spoil(server);
        Desk desk("CONNECT", server);
        std::string text;
        EXPECT_EQ(CodeOf([&] { desk.database.SetConnected(true); }, &text), c.code);
        EXPECT_EQ(text, c.text(server));
        EXPECT_FALSE(desk.database.Connected());
    }
}

TEST_F(ServerConnectionTest, AConnectionEndedByTheServerIsReportedAtTheNextOperation) {
    Desk desk("LOST", scratch->address());
    desk.Exec("CREATE TABLE Book (BOOK_ID INTEGER, PRIMARY KEY (BOOK_ID))");
    desk.Exec("INSERT INTO Book (BOOK_ID) VALUES (7)");
    auto book = desk.Table("Book");
    book->Open();
    TDBQuery copy;  // a private copy keeps nothing on the server
    copy.SetSessionName(desk.session.SessionName());
    copy.SetDatabaseName("DATA");
    copy.SQL().SetText("SELECT BOOK_ID FROM Book");
    copy.Open();
    KillConnections();
    std::string text;
    EXPECT_EQ(CodeOf([&] { desk.Count("Book"); }, &text), err::kConnectionLost);
    EXPECT_EQ(text, "The connection to the database server at '" + scratch->address().host +
                        "' has been lost");
    // It stays lost while a table of it is in use; once none is, the next
    // use connects afresh, and the private copy reads on.
    EXPECT_EQ(CodeOf([&] { desk.Count("Book"); }), err::kConnectionLost);
    book->Close();
    EXPECT_EQ(desk.Count("Book"), 1);
    EXPECT_EQ(copy.FieldByName("BOOK_ID").AsInteger(), 7);
    copy.Close();
}

TEST_F(ServerConnectionTest, ATransactionCutOffByTheServerLeavesNothingBehind) {
    Desk desk("CUT", scratch->address());
    desk.Exec("CREATE TABLE Book (BOOK_ID INTEGER, PRIMARY KEY (BOOK_ID))");
    desk.Exec("CREATE TABLE kashibo (BOOK_ID INTEGER)");
    desk.database.StartTransaction();
    desk.Exec("INSERT INTO kashibo (BOOK_ID) VALUES (1)");
    KillConnections();
    EXPECT_EQ(CodeOf([&] { desk.Exec("INSERT INTO Book (BOOK_ID) VALUES (1)"); }),
              err::kConnectionLost);
    EXPECT_EQ(CodeOf([&] { desk.database.Rollback(); }), 0);  // the server already did
    EXPECT_FALSE(desk.database.InTransaction());
    Desk other("CUT_OTHER", scratch->address());
    EXPECT_EQ(other.Count("kashibo"), 0);
    EXPECT_EQ(other.Count("Book"), 0);
}

TEST_F(ServerConnectionTest, ACommitCutOffByTheServerFails) {
    Desk desk("COMMIT", scratch->address());
    desk.Exec("CREATE TABLE kashibo (BOOK_ID INTEGER)");
    desk.database.StartTransaction();
    desk.Exec("INSERT INTO kashibo (BOOK_ID) VALUES (1)");
    KillConnections();
    EXPECT_EQ(CodeOf([&] { desk.database.Commit(); }), err::kConnectionLost);
    Desk other("COMMIT_OTHER", scratch->address());
    EXPECT_EQ(other.Count("kashibo"), 0);
}

TEST_F(ServerConnectionTest, RowLocksAndExclusiveUseHoldBetweenTwoDesks) {
    Desk a("LOCK_A", scratch->address()), b("LOCK_B", scratch->address());
    auto& ca = a.database.Connection();
    auto& cb = b.database.Connection();
    EXPECT_TRUE(ca.TryLockRow("Book", 7));
    EXPECT_TRUE(ca.TryLockRow("BOOK", 7));  // one desk may lock its row again
    EXPECT_FALSE(cb.TryLockRow("book", 7));
    EXPECT_TRUE(cb.TryLockRow("book", 8));
    ca.UnlockRow("Book", 7);
    EXPECT_FALSE(cb.TryLockRow("book", 7));
    ca.UnlockRow("Book", 7);
    EXPECT_TRUE(WithinTheLockRule([&] { return cb.TryLockRow("book", 7); }));

    using storage::TableUse;
    EXPECT_TRUE(ca.TryUseTable("Book", TableUse::Shared));
    EXPECT_TRUE(cb.TryUseTable("Book", TableUse::Shared));
    EXPECT_FALSE(ca.TryUseTable("Book", TableUse::Exclusive));
    cb.EndUseTable("Book", TableUse::Shared);
    EXPECT_FALSE(ca.TryUseTable("Book", TableUse::Exclusive));  // its own shared use
    ca.EndUseTable("Book", TableUse::Shared);
    EXPECT_TRUE(ca.TryUseTable("Book", TableUse::Exclusive));
    EXPECT_FALSE(cb.TryUseTable("Book", TableUse::Shared));
    // A desk that goes releases what it held.
    a.database.SetConnected(false);
    EXPECT_TRUE(cb.TryUseTable("Book", TableUse::Exclusive));
}

TEST_F(ServerConnectionTest, AWriteMeetingAnotherDesksRowWaitsByTheLockRuleAndNamesItsTable) {
    Desk a("WAIT_A", scratch->address()), b("WAIT_B", scratch->address());
    b.session.LockRetryCount = 2;
    b.session.LockWaitTime = 50;
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, kashidashiF BOOLEAN, PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID) VALUES (1); INSERT INTO Book (BOOK_ID) VALUES (2)");
    a.database.StartTransaction();
    a.Exec("UPDATE Book SET kashidashiF = True WHERE BOOK_ID = 1");
    std::string text;
    EXPECT_EQ(
        CodeOf([&] { b.Exec("UPDATE Book SET kashidashiF = False WHERE BOOK_ID = 1"); }, &text),
        err::kTableLocked);
    EXPECT_EQ(text, "The table 'Book' is already locked by another user");
    b.Exec("UPDATE Book SET kashidashiF = False WHERE BOOK_ID = 2");  // another row: no wait
    a.database.Commit();
    b.Exec("UPDATE Book SET kashidashiF = False WHERE BOOK_ID = 1");
}

// A desk's statements are prepared on the server once; a table made anew by
// another desk with a wider column is still read, and so is a row added.
TEST_F(ServerConnectionTest, ATableMadeAnewUnderAPreparedStatementIsStillRead) {
    Desk a("ANEW_A", scratch->address()), b("ANEW_B", scratch->address());
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei VARCHAR(10), PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 'abc')");
    EXPECT_EQ(b.Count("Book"), 1);
    EXPECT_EQ(b.Count("Book"), 1);
    a.Exec("DROP TABLE Book");
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei VARCHAR(40), PRIMARY KEY (BOOK_ID))");
    a.Exec(
        "INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 'abc'); "
        "INSERT INTO Book (BOOK_ID, syomei) VALUES (2, 'def')");
    EXPECT_EQ(b.Count("Book"), 2);
    EXPECT_EQ(b.Count("Book"), 2);
}

// A desk keeps a table's description between opens; when another desk
// made the table anew with other columns, the next open finds out at its
// first read and opens again with the table as it is now.
TEST_F(ServerConnectionTest, AKeptDescriptionThatNoLongerFitsIsReadAgainAtTheNextOpen) {
    Desk a("KEPT_A", scratch->address()), b("KEPT_B", scratch->address());
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei VARCHAR(10), PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 'abc')");
    auto book = b.Table("Book");
    book->Open();
    EXPECT_EQ(book->FieldByName("syomei").AsString(), "abc");
    book->Close();
    auto drop = [&] { return CodeOf([&] { a.Exec("DROP TABLE Book"); }) == 0; };
    ASSERT_TRUE(WithinTheLockRule(drop));  // once b's release has arrived
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, title VARCHAR(40), PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, title) VALUES (2, 'def')");
    book->Open();
    EXPECT_EQ(book->FieldByName("title").AsString(), "def");
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 2);
    EXPECT_EQ(book->FindField("syomei"), nullptr);
    book->Close();
    // Gone altogether: the open fails as it always did.
    ASSERT_TRUE(WithinTheLockRule(drop));
    EXPECT_EQ(CodeOf([&] { book->Open(); }), err::kTableMissing);
    EXPECT_FALSE(book->Active());
}

// A column of another type in a table made anew: the statement prepared for
// the kept description no longer fits, and the open reads the table again.
TEST_F(ServerConnectionTest, AKeptDescriptionOfAnotherColumnTypeIsReadAgain) {
    Desk a("TYPE_A", scratch->address()), b("TYPE_B", scratch->address());
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei VARCHAR(10), PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 'abc')");
    auto book = b.Table("Book");
    book->Open();
    book->Close();
    ASSERT_TRUE(WithinTheLockRule([&] { return CodeOf([&] { a.Exec("DROP TABLE Book"); }) == 0; }));
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei INTEGER, PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 42)");
    book->Open();
    EXPECT_EQ(book->FieldByName("syomei").AsInteger(), 42);
    EXPECT_EQ(book->FieldByName("syomei").DataType(), FieldType::Integer);
}

// A desk's own DDL makes its kept descriptions go at once.
TEST_F(ServerConnectionTest, ADesksOwnAlterTableIsSeenAtItsNextOpen) {
    Desk a("OWN_A", scratch->address());
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, PRIMARY KEY (BOOK_ID))");
    auto book = a.Table("Book");
    book->Open();
    book->Close();
    a.Exec("ALTER TABLE Book ADD syomei VARCHAR(10)");
    book->Open();
    EXPECT_NE(book->FindField("syomei"), nullptr);
}

// An edit's lock and read travel together: a row another desk holds stays
// refused by the lock rule, and is read as that desk left it once released.
TEST_F(ServerConnectionTest, AnEditReadsTheRowAsTheLastHolderLeftIt) {
    Desk a("EDIT_A", scratch->address()), b("EDIT_B", scratch->address());
    b.session.LockRetryCount = 2;
    b.session.LockWaitTime = 50;
    a.Exec("CREATE TABLE Book (BOOK_ID INTEGER, syomei VARCHAR(10), PRIMARY KEY (BOOK_ID))");
    a.Exec("INSERT INTO Book (BOOK_ID, syomei) VALUES (1, 'abc')");
    auto ta = a.Table("Book"), tb = b.Table("Book");
    ta->Open();
    tb->Open();
    ta->Edit();
    EXPECT_EQ(CodeOf([&] { tb->Edit(); }), err::kRecordLocked);
    ta->FieldByName("syomei").SetAsString("def");
    ta->Post();
    b.session.LockRetryCount = 15;
    b.session.LockWaitTime = 100;
    tb->Edit();
    EXPECT_EQ(tb->FieldByName("syomei").AsString(), "def");
    tb->FieldByName("syomei").SetAsString("ghi");
    tb->Post();
    EXPECT_EQ(CodeOf([&] { ta->Edit(); }), 0);
    EXPECT_EQ(ta->FieldByName("syomei").AsString(), "ghi");
    ta->Cancel();
}

// Statements that wait to go with the next one travel in one message with
// it; a failure among them must not cost the next statement its own run
// outside a transaction, and must spoil the rest of a transaction inside one.
TEST_F(ServerConnectionTest, StatementsSentTogetherRunAsIfSentAlone) {
    storage::postgres::PgLink link(scratch->address(), {});
    link.SendWithNext("SELECT 1 / 0");
    EXPECT_EQ(link.Exec("SELECT 2").Text(0, 0), "2");
    auto answers = link.ExecTogether({{"SELECT 1 / 0", {}}, {"SELECT 3", {}}});
    EXPECT_FALSE(answers[0].Ok());
    ASSERT_TRUE(answers[1].Ok());
    EXPECT_EQ(answers[1].Text(0, 0), "3");

    link.Exec("BEGIN");
    link.SendWithNext("SELECT 1 / 0");
    EXPECT_NE(CodeOf([&] { link.Exec("SELECT 4"); }), 0);
    link.ExecQuietly("ROLLBACK");
    link.SendAhead("SELECT 1 / 0");  // at once, in a group of its own
    EXPECT_EQ(link.Exec("SELECT 5").Text(0, 0), "5");
}

// Inside a transaction a row's unlock goes with the next statement: with
// the commit at the latest, so another desk finds the row free once the
// commit has returned, without trying again.
TEST_F(ServerConnectionTest, ARowUnlockedInATransactionIsFreeOnceTheCommitReturns) {
    Desk a("TXN_A", scratch->address()), b("TXN_B", scratch->address());
    auto& ca = a.database.Connection();
    auto& cb = b.database.Connection();
    ca.Begin();
    ASSERT_TRUE(ca.TryLockRow("Book", 3));
    ca.UnlockRow("Book", 3);
    ca.Commit(true);
    EXPECT_TRUE(cb.TryLockRow("Book", 3));
}

}  // namespace
}  // namespace engine::testing
