// The new school year: the plan of a class list against the small school
// (changes, new users, users who leave with or without books out, their
// reservations), bad lists refused by line with nothing changed, and the
// list put in place after a backup, the loan history whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "library/backup.h"
#include "library/rollover.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"
#include "platform/cp932.h"

namespace library_test {
namespace {

using namespace kashidashi::library;
namespace fs = std::filesystem;

constexpr const char* kHeader = "NAME_ID,seito_No,NAME,syozoku_ID\n";
// 100001 moves to 2年1組; 100002 and the staff stay as they are; a new
// pupil takes 10201 from 100003, who leaves with book 4 still out; 100004
// leaves with nothing out and a reservation.
constexpr const char* kGoodList =
    "NAME_ID,seito_No,NAME,syozoku_ID\n"
    "100001,20101,青木　一郎,201\n"
    "100002,10102,井上　花子,101\n"
    "900001,90001,大野　先生,900\n"
    "300001,10201,新井　春,101\n";

class RolloverTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        RunSql(data,
               "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (201, '2年1組');"
               "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi) Values"
               " (1, 1, '100004', '10202', '江藤　空', '2025/06/01');"
               "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi) Values"
               " (1, 2, '100001', '10101', '青木　一郎', '2025/06/02')");
    }
    std::vector<std::string> Column(const std::string& statement) {
        std::vector<std::string> texts;
        for (const auto& row : SelectRows(Connection(), statement).rows) {
            std::string text;
            for (const auto& value : row.values)
                text += (text.empty() ? "" : " ") + (value.IsNull() ? std::string("-")
                                                     : value.IsInteger()
                                                         ? std::to_string(value.Integer())
                                                         : TextOf(value));
            texts.push_back(text);
        }
        return texts;
    }
    std::vector<std::string> Users() {
        return Column(
            "Select NAME_ID, seito_No, syozoku_ID, mihenkyakuSU From Name Order By NAME_ID");
    }
    std::string BackupFile() { return (root / "before.kxbak").string(); }
};

TEST_F(RolloverTest, ThePlanSaysWhatChangesAndChangesNothing) {
    auto before = Users();
    auto plan = PlanRollover(Connection(), kGoodList);
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].before.pupilNo, "10101");
    EXPECT_EQ(plan.changes[0].after.className, "2年1組");
    ASSERT_EQ(plan.added.size(), 1u);
    EXPECT_EQ(plan.added[0].after.nameId, "300001");
    ASSERT_EQ(plan.removed.size(), 1u);
    EXPECT_EQ(plan.removed[0].before.nameId, "100004");
    ASSERT_EQ(plan.kept.size(), 1u);
    EXPECT_EQ(plan.kept[0].before.nameId, "100003");
    EXPECT_EQ(plan.kept[0].after.pupilNo, "");  // 10201 goes to the new pupil
    ASSERT_EQ(plan.kept[0].loans.size(), 1u);
    EXPECT_EQ(plan.kept[0].loans[0].book, 4);
    ASSERT_EQ(plan.reservations.size(), 1u);
    EXPECT_EQ(plan.reservations[0].nameId, "100004");
    EXPECT_EQ(plan.unchanged, 2);
    EXPECT_EQ(RolloverRows(plan).size(), 5u);
    EXPECT_EQ(Users(), before);
}

TEST_F(RolloverTest, ApplyingWritesEverythingAfterABackupAndKeepsTheLoans) {
    const auto loans =
        Column("Select BOOK_ID, NAME_ID, seitoNo, kashidashiF From kashibo Order By BOOK_ID");
    connection.reset();  // the apply holds the tables itself
    auto result = ApplyRollover(DataPlace::Folder(data), kGoodList, BackupFile());
    connection = std::make_unique<PlaceConnection>(DataPlace::Folder(data));
    EXPECT_EQ(Users(), (std::vector<std::string>{"100001 20101 201 1", "100002 10102 101 1",
                                                 "100003 - 102 1", "300001 10201 101 0",
                                                 "900001 90001 900 1"}));
    EXPECT_EQ(Column("Select Name_ID, Seito_No From yoyaku"),
              std::vector<std::string>{"100001 20101"});
    EXPECT_EQ(Column("Select BOOK_ID, NAME_ID, seitoNo, kashidashiF From kashibo Order By BOOK_ID"),
              loans);
    ASSERT_TRUE(fs::exists(BackupFile()));
    for (const auto& table : BackupRowCounts(BackupFile()))
        if (table.table == "Name") EXPECT_EQ(table.rows, 5);
    EXPECT_EQ(result.plan.added.size(), 1u);
}

struct BadList {
    const char* what;
    std::string bytes;
    int line;
    const char* reason;
};

class RolloverBadList : public RolloverTest, public ::testing::WithParamInterface<BadList> {};

TEST_P(RolloverBadList, IsRefusedByLineAndNothingChanges) {
    const auto& bad = GetParam();
    auto before = Users();
    auto plan = PlanRollover(Connection(), bad.bytes);
    ASSERT_FALSE(plan.Good()) << bad.what;
    EXPECT_EQ(plan.problems.front().line, bad.line) << bad.what;
    EXPECT_NE(plan.problems.front().reason.find(bad.reason), std::string::npos)
        << bad.what << ": " << plan.problems.front().reason;
    EXPECT_TRUE(plan.changes.empty() && plan.added.empty() && plan.removed.empty());
    connection.reset();
    EXPECT_THROW(ApplyRollover(DataPlace::Folder(data), bad.bytes, BackupFile()),
                 std::runtime_error);
    connection = std::make_unique<PlaceConnection>(DataPlace::Folder(data));
    EXPECT_EQ(Users(), before);
    EXPECT_FALSE(fs::exists(BackupFile()));
}

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += c, bytes += '\0';
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, RolloverBadList,
    ::testing::Values(
        BadList{"fixed number twice",
                std::string(kHeader) + "100001,20101,青木,201\n100001,20102,青木,201\n", 3, "重複"},
        BadList{"pupil number twice",
                std::string(kHeader) + "100001,20101,青木,201\n100002,20101,井上,201\n", 3,
                "生徒番号「20101」は 2行目と重複"},
        BadList{"unknown class", std::string(kHeader) + "100001,20101,青木,301\n", 2, "SYOZOKU"},
        BadList{"UTF-16", Utf16(std::string(kHeader) + "100001,20101,A,201\n"), 1, "文字コード"},
        BadList{"a byte Shift-JIS lacks", std::string(kHeader) + "100001,20101,\xFF\xFE,201\n", 2,
                "文字コード"},
        BadList{"no class column", "NAME_ID,seito_No,NAME\n100001,20101,青木\n", 1, "syozoku_ID"},
        BadList{"pupil number too long", std::string(kHeader) + "100001,201011,青木,201\n", 2,
                "長すぎます"},
        BadList{"empty pupil number", std::string(kHeader) + "100001,,青木,201\n", 2, "空です"},
        BadList{"a list of nobody", kHeader, 2, "利用者の行がありません"},
        BadList{"a value that is no number", std::string(kHeader) + "100001,20101,青木,二年\n", 2,
                "syozoku_ID"}));

TEST_F(RolloverTest, AShiftJisListReadsAsTheUtf8One) {
    auto utf8 = PlanRollover(Connection(), kGoodList);
    auto sjis = PlanRollover(Connection(), platform::ToCp932(kGoodList));
    ASSERT_TRUE(sjis.Good()) << sjis.problems.front().reason;
    EXPECT_EQ(RolloverRows(sjis), RolloverRows(utf8));
}

}  // namespace
}  // namespace library_test
