// Several desks on one folder: row locks, exclusive use and transactions,
// between two sessions of this process and between two processes.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "engine/common/error.h"
#include "engine/dataset/query.h"
#include "engine_fixture.h"

namespace engine::testing {
namespace {

class LockingTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeTable("Book", {{"BOOK_ID", Int()}, {"kashidashiF", Bool()}}, {"BOOK_ID"});
        MakeTable("kashibo", {{"BOOK_ID", Int()}, {"NAME_ID", Text(6)}});
        auto book = Table("Book");
        book->Open();
        book->Append();
        book->FieldByName("BOOK_ID").SetAsInteger(1);
        book->Post();
        other = std::make_unique<TDBSession>(session->SessionName() + "B");
        otherDatabase = std::make_unique<TDBDatabase>("DATA", *other);
        PointAtData(*other, *otherDatabase);
    }
    void TearDown() override {
        otherDatabase.reset();
        other.reset();
        EngineFixture::TearDown();
    }
    std::unique_ptr<TDBTable> OtherTable(const std::string& name) {
        auto table = Table(name);
        table->SetSessionName(other->SessionName());
        return table;
    }
    void OtherExec(const std::string& text) {
        TDBQuery query;
        query.SetSessionName(other->SessionName());
        query.SetDatabaseName("DATA");
        query.SQL().SetText(text);
        query.ExecSQL();
    }
    // This desk holds a write transaction open, with a loan written in it.
    void HoldATransaction() {
        database->StartTransaction();
        auto loans = Table("kashibo");
        loans->Open();
        loans->Append();
        loans->FieldByName("BOOK_ID").SetAsInteger(1);
        loans->Post();
    }
    static int CodeOf(const std::function<void()>& work) {
        try {
            work();
        } catch (const EngineError& e) {
            return e.code();
        }
        return 0;
    }

    std::unique_ptr<TDBSession> other;
    std::unique_ptr<TDBDatabase> otherDatabase;
};

TEST_F(LockingTest, ASecondSessionFailsOnALockedRowAfterAllRetries) {
    auto mine = Table("Book");
    mine->Open();
    mine->Edit();
    auto theirs = OtherTable("Book");
    theirs->Open();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CodeOf([&] { theirs->Edit(); }), err::kRecordLocked);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1500));  // 15 retries 100 ms apart
    EXPECT_EQ(theirs->State(), DataSetState::dsBrowse);

    mine->FieldByName("kashidashiF").SetAsBoolean(true);
    mine->Post();  // releases the lock
    theirs->Edit();
    EXPECT_TRUE(theirs->FieldByName("kashidashiF").AsBoolean());  // the edit reads the row anew
    theirs->Cancel();
}

// The other desk's write meets this desk's transaction: it waits by the lock
// rule of its session, then fails with 10241 naming the table it writes.
TEST_F(LockingTest, AWriteWaitsForAnotherDesksTransactionByTheLockRule) {
    HoldATransaction();
    auto theirLoans = OtherTable("kashibo");
    theirLoans->Open();  // reading goes on beside the transaction
    EXPECT_EQ(theirLoans->RecordCount(), 0);
    theirLoans->Append();
    theirLoans->FieldByName("BOOK_ID").SetAsInteger(2);
    auto start = std::chrono::steady_clock::now();
    try {
        theirLoans->Post();
        FAIL() << "the post went through another desk's transaction";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kTableLocked);
        EXPECT_STREQ(e.what(), "The table 'kashibo' is already locked by another user");
    }
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1500));  // 15 retries 100 ms apart
    EXPECT_LT(waited, std::chrono::seconds(5));          // and no longer wait of its own
    EXPECT_EQ(theirLoans->State(), DataSetState::dsInsert);

    database->Commit(true);
    theirLoans->Post();  // the transaction is over: the same post goes through
    theirLoans->Refresh();
    EXPECT_EQ(theirLoans->RecordCount(), 2);
}

// Two programs making a table of their own on first need at once (two stock
// check readers taking their files): the second meets the first's table and
// is told it exists, the one answer a caller takes for "made meanwhile".
TEST_F(LockingTest, TwoDesksMakingOneTableAtOnceMeetItAsExisting) {
    const storage::TableSchema table{"kx_first", {{"ID", Int()}}, {}};
    database->StartTransaction();
    database->Connection().CreateTable(table);
    int theirs = -1;
    std::thread other(
        [&] { theirs = CodeOf([&] { otherDatabase->Connection().CreateTable(table); }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    database->Commit(true);
    other.join();
    EXPECT_EQ(theirs, err::kTableExists);
    EXPECT_TRUE(otherDatabase->Connection().DescribeTable("kx_first").has_value());
}

// Every kind of write, with a session of 3 retries 50 ms apart.
TEST_F(LockingTest, EveryWriteMeetingAnotherDesksTransactionNamesItsTable) {
    other->LockRetryCount = 3;
    other->LockWaitTime = 50;
    HoldATransaction();
    auto theirBook = OtherTable("Book");
    theirBook->Open();
    const struct {
        const char* what;
        std::string table;
        std::function<void()> write;
    } kCases[] = {
        {"edit and post", "Book",
         [&] {
             theirBook->Edit();
             theirBook->FieldByName("kashidashiF").SetAsBoolean(true);
             theirBook->Post();
         }},
        {"UPDATE", "Book", [&] { OtherExec("UPDATE Book SET kashidashiF = True"); }},
        {"DELETE", "kashibo", [&] { OtherExec("DELETE FROM kashibo"); }},
        {"INSERT", "kashibo", [&] { OtherExec("INSERT INTO kashibo VALUES (3, '000001')"); }},
        {"CREATE TABLE", "Extra", [&] { OtherExec("CREATE TABLE Extra (K INTEGER)"); }},
        // A transaction starting knows no table yet: it names the folder.
        {"a transaction", folder.string(), [&] { otherDatabase->StartTransaction(); }},
    };
    for (const auto& c : kCases) {
        auto start = std::chrono::steady_clock::now();
        try {
            c.write();
            ADD_FAILURE() << c.what << " went through another desk's transaction";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), err::kTableLocked) << c.what;
            EXPECT_EQ(e.what(), "The table '" + c.table + "' is already locked by another user")
                << c.what;
        }
        auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(150)) << c.what;
        EXPECT_LT(waited, std::chrono::seconds(5)) << c.what;
        if (theirBook->State() == DataSetState::dsEdit) theirBook->Cancel();
    }
    database->Rollback();
    theirBook->Refresh();
    EXPECT_FALSE(theirBook->FieldByName("kashidashiF").AsBoolean());
    EXPECT_FALSE(otherDatabase->Connection().DescribeTable("Extra"));
}

TEST_F(LockingTest, PostingARowChangedOrDeletedMeanwhileFails) {
    auto mine = Table("Book");
    mine->Open();
    mine->Edit();
    mine->FieldByName("kashidashiF").SetAsBoolean(true);
    // Another session deletes the row behind the lock's back (a statement takes no row lock).
    otherDatabase->Connection().EmptyTable("Book");
    EXPECT_EQ(CodeOf([&] { mine->Post(); }), err::kRecordChanged);
    EXPECT_EQ(mine->State(), DataSetState::dsEdit);
    mine->Cancel();
}

TEST_F(LockingTest, ExclusiveUseExcludesEveryOtherOpen) {
    auto theirs = OtherTable("Book");
    theirs->Open();
    auto mine = Table("Book");
    mine->SetExclusive(true);
    EXPECT_EQ(CodeOf([&] { mine->Open(); }), err::kTableLocked);
    EXPECT_EQ(CodeOf([&] { Table("Book")->EmptyTable(); }),
              err::kTableLocked);  // closed: same rule
    theirs->Close();
    mine->Open();
    EXPECT_EQ(CodeOf([&] { OtherTable("Book")->Open(); }), err::kTableLocked);
    mine->EmptyTable();
    EXPECT_EQ(mine->RecordCount(), 0);

    auto shared = Table("kashibo");
    shared->Open();
    EXPECT_EQ(CodeOf([&] { shared->EmptyTable(); }), err::kMustBeExclusive);
}

TEST_F(LockingTest, RollbackUndoesWritesToTwoTables) {
    database->StartTransaction();
    EXPECT_THROW(database->StartTransaction(), DataSetError);
    auto loans = Table("kashibo");
    loans->Open();
    loans->Append();
    loans->FieldByName("BOOK_ID").SetAsInteger(1);
    loans->Post();
    auto book = Table("Book");
    book->Open();
    book->Edit();
    book->FieldByName("kashidashiF").SetAsBoolean(true);
    book->Post();
    database->Rollback();
    loans->Refresh();
    book->Refresh();
    EXPECT_EQ(loans->RecordCount(), 0);
    EXPECT_FALSE(book->FieldByName("kashidashiF").AsBoolean());
}

TEST_F(LockingTest, AProcessKilledInsideATransactionLeavesNoTraceAndNoLock) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        TDBSession session("CHILD");
        TDBDatabase data("DATA", session);
        data.SetDirectory(folder.string());
        TDBTable book;
        book.SetSessionName("CHILD");
        book.SetDatabaseName("DATA");
        book.SetTableName("Book");
        data.StartTransaction();
        book.Open();
        book.Edit();  // holds the row lock
        book.FieldByName("kashidashiF").SetAsBoolean(true);
        book.Post();
        book.Edit();
        (void)!write(ready[1], "x", 1);
        pause();
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    auto theirs = OtherTable("Book");
    theirs->Open();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CodeOf([&] { theirs->Edit(); }), err::kRecordLocked);  // the child holds it
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    theirs->Refresh();
    theirs->Edit();                                                // the lock died with the process
    EXPECT_FALSE(theirs->FieldByName("kashidashiF").AsBoolean());  // and so did its transaction
    theirs->Cancel();
    close(ready[0]);
    close(ready[1]);
}

}  // namespace
}  // namespace engine::testing
