// A data folder shared by several desks: every commit is fully synced in a
// rollback journal, and a folder without a database is never written by
// reading it.
#include <sqlite3.h>

#include <filesystem>
#include <map>

#include "engine/common/error.h"
#include "engine/dataset/query.h"
#include "engine_fixture.h"

namespace engine::testing {
namespace {

namespace fs = std::filesystem;

// A VFS over the default one that counts the syncs of each kind of file.
class SyncCounter {
  public:
    SyncCounter() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.zName = "kx_sync_counter";
        vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
        vfs_.xOpen = &Open;
        vfs_.pAppData = this;
        io_ = {};
        io_.iVersion = 1;
        io_.xClose = [](sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); };
        io_.xRead = [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) {
            return Real(f)->pMethods->xRead(Real(f), b, n, o);
        };
        io_.xWrite = [](sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
            return Real(f)->pMethods->xWrite(Real(f), b, n, o);
        };
        io_.xTruncate = [](sqlite3_file* f, sqlite3_int64 n) {
            return Real(f)->pMethods->xTruncate(Real(f), n);
        };
        io_.xSync = &Sync;
        io_.xFileSize = [](sqlite3_file* f, sqlite3_int64* n) {
            return Real(f)->pMethods->xFileSize(Real(f), n);
        };
        io_.xLock = [](sqlite3_file* f, int l) { return Real(f)->pMethods->xLock(Real(f), l); };
        io_.xUnlock = [](sqlite3_file* f, int l) { return Real(f)->pMethods->xUnlock(Real(f), l); };
        io_.xCheckReservedLock = [](sqlite3_file* f, int* r) {
            return Real(f)->pMethods->xCheckReservedLock(Real(f), r);
        };
        io_.xFileControl = [](sqlite3_file* f, int op, void* a) {
            return Real(f)->pMethods->xFileControl(Real(f), op, a);
        };
        io_.xSectorSize = [](sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); };
        io_.xDeviceCharacteristics = [](sqlite3_file* f) {
            return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
        };
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~SyncCounter() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real_, 1);
    }

    // Syncs by the end of the file's name: "-journal", "-wal" or ".db".
    std::map<std::string, int> syncs;
    std::vector<std::string> opened;

  private:
    struct File {
        sqlite3_file base;
        SyncCounter* counter;
        const char* kind;
    };
    // The default VFS's file, which follows ours.
    static sqlite3_file* Real(sqlite3_file* f) {
        return reinterpret_cast<sqlite3_file*>(reinterpret_cast<File*>(f) + 1);
    }

    static const char* KindOf(const char* name) {
        std::string path = name ? name : "";
        for (const char* end : {"-journal", "-wal", ".db"})
            if (path.ends_with(end)) return end;
        return "other";
    }
    static int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* f, int flags, int* out) {
        auto* self = static_cast<SyncCounter*>(vfs->pAppData);
        auto* file = reinterpret_cast<File*>(f);
        file->base.pMethods = nullptr;
        int rc = self->real_->xOpen(self->real_, name, Real(f), flags, out);
        if (rc != SQLITE_OK) return rc;
        file->counter = self;
        file->kind = KindOf(name);
        self->opened.push_back(file->kind);
        file->base.pMethods = &self->io_;
        return rc;
    }
    static int Sync(sqlite3_file* f, int flags) {
        auto* file = reinterpret_cast<File*>(f);
        ++file->counter->syncs[file->kind];
        return Real(f)->pMethods->xSync(Real(f), flags);
    }

    sqlite3_vfs* real_;
    sqlite3_vfs vfs_;
    sqlite3_io_methods io_;
};

class SharedFolderTest : public EngineFixture {
  protected:
    void TearDown() override {
        EngineFixture::TearDown();  // the connections go before the VFS they use
        counter.reset();
    }
    std::vector<std::string> FilesOf(const fs::path& path) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }
    void Exec(const std::string& text) {
        TDBQuery query;
        query.SetSessionName(session->SessionName());
        query.SetDatabaseName("DATA");
        query.SQL().SetText(text);
        query.ExecSQL();
    }

    std::unique_ptr<SyncCounter> counter;
};

// With synchronous=FULL the journal is synced before its header is written
// and again after; a lighter level syncs it once.
TEST_F(SharedFolderTest, EveryCommitIsFullySyncedInARollbackJournal) {
    counter = std::make_unique<SyncCounter>();
    MakeTable("T", {{"K", Int()}, {"S", Text(10)}});
    auto table = Table("T");
    table->Open();
    const struct {
        const char* what;
        std::function<void()> write;
    } kCases[] = {
        {"a post outside a transaction",
         [&] {
             table->Append();
             table->FieldByName("K").SetAsInteger(1);
             table->Post();
         }},
        {"a statement outside a transaction", [&] { Exec("UPDATE T SET S = 'x'"); }},
        {"a transaction committed with force",
         [&] {
             database->StartTransaction();
             Exec("INSERT INTO T VALUES (2, 'y')");
             database->Commit(true);
         }},
        {"a transaction committed without force",
         [&] {
             database->StartTransaction();
             Exec("DELETE FROM T WHERE K = 2");
             database->Commit(false);
         }},
    };
    for (const auto& c : kCases) {
        counter->syncs.clear();
        c.write();
        EXPECT_GE(counter->syncs["-journal"], 2) << c.what;
        EXPECT_GE(counter->syncs[".db"], 1) << c.what;
    }
    for (const auto& kind : counter->opened) EXPECT_NE(kind, "-wal");
}

TEST_F(SharedFolderTest, AFileLeftInWalModeIsTurnedBackToARollbackJournal) {
    std::string path = (folder / "kashidashi.db").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL; CREATE TABLE X (K INTEGER)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    MakeTable("T", {{"K", Int()}});
    database->Close();

    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* mode = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "delete");
    sqlite3_finalize(mode);
    sqlite3_close(db);
}

// Each way of reading a folder that has no database: the engine's error,
// and not one file made.
TEST_F(SharedFolderTest, ReadingAFolderWithoutADatabaseLeavesItUntouched) {
    const struct {
        const char* what;
        int code;  // 0: no error
        std::function<void()> read;
    } kCases[] = {
        {"connect", 0, [&] { database->Open(); }},
        {"open a table", err::kTableMissing, [&] { Table("Book")->Open(); }},
        {"open a table exclusively", err::kTableMissing,
         [&] {
             auto book = Table("Book");
             book->SetExclusive(true);
             book->Open();
         }},
        {"empty a closed table", err::kTableMissing, [&] { Table("Book")->EmptyTable(); }},
        {"query", err::kTableMissing,
         [&] {
             TDBQuery query;
             query.SetSessionName(session->SessionName());
             query.SetDatabaseName("DATA");
             query.SQL().SetText("SELECT * FROM Book");
             query.Open();
         }},
        {"list tables", 0, [&] { EXPECT_TRUE(database->Connection().TableNames().empty()); }},
    };
    for (const auto& c : kCases) {
        int code = 0;
        try {
            c.read();
        } catch (const EngineError& e) {
            code = e.code();
            if (c.code == err::kTableMissing) {
                EXPECT_STREQ(e.what(), "Table 'Book' does not exist");
            }
        }
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_TRUE(FilesOf(folder).empty()) << c.what;
    }
    // Connected while the folder was empty, this desk sees what another writes.
    TDBSession otherSession(session->SessionName() + "B");
    TDBDatabase otherDatabase("DATA", otherSession);
    otherDatabase.SetDirectory(folder.string());
    storage::TableSchema book;
    book.name = "Book";
    book.columns.push_back({"BOOK_ID", Int()});
    otherDatabase.Connection().CreateTable(book);
    Table("Book")->Open();
}

}  // namespace
}  // namespace engine::testing
