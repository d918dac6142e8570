// The operator's text of a failure: every engine code an operation can meet
// says in Japanese what happened and what to do, then the code; the failures
// of the storage are met for real (a full disk, a read-only medium, a lock
// file that cannot be used, a folder without a school).
#include "data/failure_text.h"

#include <fstream>
#include <functional>
#include <new>

#include "data_fixture.h"
#include "engine/common/error.h"
#include "support/small_disk.h"

namespace data_test {
namespace {

using engine::EngineError;
namespace err = engine::err;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(FailureText, EachEngineCodeSaysWhatHappenedWhatToDoAndItsCode) {
    const struct {
        int code;
        const char* a;
        const char* b;
        const char* happened;
        const char* support;
    } kCases[] = {
        {err::kRecordChanged, "Book", "",
         "ほかの机か画面で、このデータが変更または削除されました。", "（エラー番号 8708: Book）"},
        {err::kNoCurrentRecord, "Name", "", "操作するデータがありません。",
         "（エラー番号 8709: Name）"},
        {err::kDuplicateKey, "", "Book", "同じ番号のデータがすでに登録されています。",
         "（エラー番号 9729）"},
        {err::kTableLocked, "kashibo", "", "ほかの机か画面がこのデータを使っています。",
         "（エラー番号 10241: kashibo）"},
        {err::kMustBeExclusive, "Book", "",
         "この操作は、ほかの机がこのデータを使っていない時にしかできません。",
         "（エラー番号 10253: Book）"},
        {err::kRecordLocked, "Name", "", "ほかの机がこのデータを使っています。",
         "（エラー番号 10258: Name）"},
        {err::kTableMissing, "SYOZOKU", "", "このフォルダには学校のデータがありません。",
         "（エラー番号 11010: SYOZOKU）"},
        {err::kTableMissing, "book", "", "このフォルダには学校のデータがありません。",
         "（エラー番号 11010: book）"},
        {err::kTableMissing, "kx_backup", "", "データの表がありません。",
         "（エラー番号 11010: kx_backup）"},
        {err::kAccessDenied, "Book", "", "読み取り専用で開いたデータには書き込めません。",
         "（エラー番号 11013: Book）"},
        {err::kConnectionLost, "db.example:12005", "", "データベースサーバとの接続が切れました。",
         "（エラー番号 11276: db.example:12005）"},
        {err::kCannotConnect, "db.example:12005", "", "データベースサーバに接続できません。",
         "（エラー番号 11280: db.example:12005）"},
        {err::kLoginInvalid, "db.example:12005", "",
         "データベースサーバのユーザ名かパスワードが違います。",
         "（エラー番号 11287: db.example:12005）"},
        {err::kRemoteDatabaseMissing, "Book", "db.example:12005",
         "データベースサーバに、指定のデータベースがありません。", "（エラー番号 11294: Book）"},
        {err::kSqlError, "Unexpected 'FORM'", "", "データの問い合わせを実行できませんでした。",
         "（エラー番号 11949）"},
        {err::kTableExists, "Book", "", "同じ名前の表がすでにあります。",
         "（エラー番号 13060: Book）"},
        {err::kFolderMissing, "/media/usb/Book/", "", "フォルダがないか、使えません。",
         "（エラー番号 11001: /media/usb/Book/）"},
        {err::kCorruptFile, "/srv/Book/", "file is not a database",
         "データのファイルが壊れているか、このプログラムのデータベースではありません。",
         "（エラー番号 12001: /srv/Book/）"},
        {err::kIoError, "/srv/Book/kashidashi.db", "disk I/O error",
         "データのファイルを読み書きできませんでした。",
         "（エラー番号 12002: /srv/Book/kashidashi.db）"},
        {err::kInvalidOperation, "セッション 'BBB' がありません", "",
         "セッション 'BBB' がありません", "（エラー番号 12003）"},
        {err::kDiskFull, "/srv/Book/", "database or disk is full", "ディスクの空きが足りません。",
         "（エラー番号 12004: /srv/Book/）"},
        {err::kReadOnlyFolder, "/srv/Book/", "Read-only file system",
         "フォルダに書き込めません（読み取り専用です）。", "（エラー番号 12005: /srv/Book/）"},
        {err::kLockFileUnusable, "/srv/Book/kashidashi.lck", "Is a directory",
         "ほかの机と共有するロックファイルを読み書きできません。",
         "（エラー番号 12006: /srv/Book/kashidashi.lck）"},
    };
    for (const auto& c : kCases) {
        auto lines = LinesOf(kashidashi::FailureText(EngineError::Make(c.code, c.a, c.b)));
        EXPECT_EQ(lines.front(), c.happened) << c.code;
        EXPECT_EQ(lines.back(), c.support) << c.code;
        // What to do, unless the engine's own text is all there is to say.
        EXPECT_EQ(lines.size(), c.code == err::kInvalidOperation ? 2u : 3u) << c.code;
    }
}

TEST(FailureText, OtherFailuresKeepTheirOwnText) {
    EXPECT_EQ(kashidashi::FailureText(engine::DataSetError::FieldNotFound("BOOK_ID")),
              "項目 'BOOK_ID' が見つかりません");
    EXPECT_EQ(kashidashi::FailureText(std::runtime_error("ファイルを読めません")),
              "ファイルを読めません");
    EXPECT_EQ(LinesOf(kashidashi::FailureText(std::bad_alloc())).front(), "メモリが足りません。");
}

// A folder of its own filesystem (tmpfs, support/small_disk.h), so that a
// full disk and a read-only medium are real. Needs the right to mount
// (root); skipped elsewhere.
class StorageFailureTest : public DataFixture {
  protected:
    bool MountSmallDisk(const char* size) {
        mounted = kx_test::MountSmallDisk(folder.string(), size);
        return mounted;
    }
    void MakeReadOnly() { ASSERT_TRUE(kx_test::MakeSmallDiskReadOnly(folder.string())); }
    void TearDown() override {
        database.reset();
        if (mounted) kx_test::UnmountSmallDisk(folder.string());
        DataFixture::TearDown();
    }
    // The operator's text of what `work` throws; "" when it throws nothing.
    static std::string TextOf(const std::function<void()>& work) {
        try {
            work();
        } catch (const std::exception& error) {
            return kashidashi::FailureText(error);
        }
        return "";
    }
    void Fill() {
        for (int i = 0; i < 100000; ++i)
            AppendRow("T", {{"K", engine::Value(int64_t{i})},
                            {"S", engine::Value(std::string(200, 'x'))}});
    }
    std::string Folder() const { return folder.string() + "/"; }
    bool mounted = false;
};

TEST_F(StorageFailureTest, AFullDiskIsSaidSoAndNamesTheFolder) {
    if (!MountSmallDisk("96k")) GTEST_SKIP() << "cannot mount a small disk here";
    RunSql("CREATE TABLE T (K INTEGER, S CHARACTER(200))");
    auto lines = LinesOf(TextOf([&] { Fill(); }));
    EXPECT_EQ(lines.front(), "ディスクの空きが足りません。");
    EXPECT_EQ(lines.back(), "（エラー番号 12004: " + Folder() + "）");
}

TEST_F(StorageFailureTest, AReadOnlyMediumIsSaidSo) {
    if (!MountSmallDisk("1m")) GTEST_SKIP() << "cannot mount a small disk here";
    RunSql("CREATE TABLE T (K INTEGER, S CHARACTER(200))");
    AppendRow("T", {{"K", engine::Value(int64_t{1})}});
    database->Close();
    MakeReadOnly();
    const struct {
        const char* what;
        std::function<void()> work;
    } kCases[] = {
        {"append a row",
         [&] {
             AppendRow("T", {{"K", engine::Value(int64_t{2})}});
         }},
        {"run a statement", [&] { RunSql("DELETE FROM T"); }},
    };
    for (const auto& c : kCases) {
        auto lines = LinesOf(TextOf(c.work));
        EXPECT_EQ(lines.front(), "フォルダに書き込めません（読み取り専用です）。") << c.what;
        EXPECT_EQ(lines.back(), "（エラー番号 12005: " + Folder() + "）") << c.what;
    }
}

TEST_F(StorageFailureTest, AFolderWithoutASchoolABrokenFileOrAnUnusableLockFile) {
    const struct {
        const char* what;
        std::function<void()> prepare;
        const char* happened;
        int code;
    } kCases[] = {
        {"an empty folder", [] {}, "このフォルダには学校のデータがありません。",
         err::kTableMissing},
        {"a lock file that is a folder",
         [&] {
             RunSql("CREATE TABLE Book (K INTEGER)");
             database->Close();
             std::filesystem::remove(folder / "kashidashi.lck");
             std::filesystem::create_directory(folder / "kashidashi.lck");
         },
         "ほかの机と共有するロックファイルを読み書きできません。", err::kLockFileUnusable},
        {"a file that is no database",
         [&] { std::ofstream(folder / "kashidashi.db") << std::string(4096, 'x'); },
         "データのファイルが壊れているか、このプログラムのデータベースではありません。",
         err::kCorruptFile},
    };
    for (const auto& c : kCases) {
        database->Close();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        c.prepare();
        std::string text = TextOf([&] { Table("Book")->Open(); });
        auto lines = LinesOf(text);
        EXPECT_EQ(lines.front(), c.happened) << c.what;
        EXPECT_NE(lines.back().find("（エラー番号 " + std::to_string(c.code)), std::string::npos)
            << c.what << ": " << text;
    }
}

}  // namespace
}  // namespace data_test
