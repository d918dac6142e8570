// The new school year: the plan of a class list against the small school
// (changes, new users, users who leave with or without books out, their
// reservations), bad lists refused by line with nothing changed, and the
// list put in place after a backup, the loan history whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "engine/common/dates.h"
#include "library/backup/backup.h"
#include "library/sql_rows.h"
#include "library/stats/stats.h"
#include "library/year/rollover.h"
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
                text += (text.empty() ? "" : " ") +
                        (value.IsNull()      ? std::string("-")
                         : value.IsBool()    ? std::string(value.Bool() ? "1" : "0")
                         : value.IsInteger() ? std::to_string(value.Integer())
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
    // Applies the lists (the second yes given), today being `today`.
    RolloverResult Apply(const std::vector<RolloverFile>& files, RolloverOptions options = {}) {
        connection.reset();  // the apply holds the tables itself
        options.allowRemovals = true;
        options.today = engine::MakeDate(2026, 3, 25);
        struct Reconnect {
            RolloverTest& test;
            ~Reconnect() {
                test.connection = std::make_unique<PlaceConnection>(DataPlace::Folder(test.data));
            }
        } reconnect{*this};
        return ApplyRollover(DataPlace::Folder(data), files, BackupFile(), options);
    }
    RolloverResult Apply(const std::string& bytes) { return Apply({{"", bytes}}); }
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
    EXPECT_EQ(RolloverRows(plan).size(), 6u);  // with 卒業・転出 to add
    EXPECT_EQ(Users(), before);
}

TEST_F(RolloverTest, ApplyingWritesEverythingAfterABackupAndKeepsTheLoans) {
    const auto loans =
        Column("Select BOOK_ID, NAME_ID, seitoNo, kashidashiF From kashibo Order By BOOK_ID");
    auto result = Apply(kGoodList);
    EXPECT_EQ(Users(),
              (std::vector<std::string>{"100001 20101 201 1", "100002 10102 101 1", "100003 - 99 1",
                                        "300001 10201 101 0", "900001 90001 900 1"}));
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
    EXPECT_THROW(Apply(bad.bytes), std::runtime_error);
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
        BadList{"a character Shift-JIS lacks",
                std::string(kHeader) + "100001,20101,青木,201\n100002,10102,井上\U0001F600,101\n",
                3, "NAME「井上\U0001F600」の「\U0001F600」は Shift-JIS（CP932）で書けない文字です"},
        BadList{"a name longer than its column",
                std::string(kHeader) + "100001,20101,寿限無寿限無五劫の擦り切れ,201\n", 2,
                "NAME「寿限無寿限無五劫の擦り切れ」は長すぎます（20 バイトまで"},
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

// A UTF-16 file is one problem, not one per line.
TEST_F(RolloverTest, AUtf16FileIsOneProblem) {
    auto plan = PlanRollover(
        Connection(), Utf16(std::string(kHeader) + "100001,20101,A,201\n100002,10102,B,101\n"));
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_NE(plan.problems[0].reason.find("UTF-16"), std::string::npos);
}

// Numbers typed with full-width digits read as the same numbers.
TEST_F(RolloverTest, FullWidthDigitsCountAsDigits) {
    auto plan = PlanRollover(Connection(),
                             "NAME_ID,seito_No,NAME,syozoku_ID\n"
                             "１０００01,２０１０１,青木　一郎,２０１\n"
                             "100002,10102,井上　花子,101\n"
                             "900001,90001,大野　先生,900\n"
                             "300001,10201,新井　春,101\n");
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    EXPECT_EQ(RolloverRows(plan), RolloverRows(PlanRollover(Connection(), kGoodList)));
}

// The one-line counts, and the alarms that ask for a second yes.
struct Guard {
    const char* what;
    std::string list;
    std::vector<std::string> alarms;
    int staffKept;
};

class RolloverGuard : public RolloverTest, public ::testing::WithParamInterface<Guard> {};

TEST_P(RolloverGuard, NamesWhatWouldLeave) {
    const auto& guard = GetParam();
    auto plan = PlanRollover(Connection(), guard.list);
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    EXPECT_EQ(plan.alarms, guard.alarms) << guard.what;
    EXPECT_EQ(plan.staffKept, guard.staffKept) << guard.what;
    if (guard.alarms.empty()) return;
    connection.reset();
    EXPECT_THROW(ApplyRollover(DataPlace::Folder(data), {{"", guard.list}}, BackupFile(), {}),
                 std::runtime_error);
    connection = std::make_unique<PlaceConnection>(DataPlace::Folder(data));
    EXPECT_EQ(Users().size(), 5u);
    EXPECT_FALSE(fs::exists(BackupFile()));
}

const std::string kEveryone = std::string(kHeader) +
                              "100001,10101,青木　一郎,101\n100002,10102,井上　花子,101\n"
                              "100003,10201,上田　健,102\n100004,10202,江藤　空,102\n";

INSTANTIATE_TEST_SUITE_P(
    Lists, RolloverGuard,
    ::testing::Values(Guard{"everybody, staff unnamed", kEveryone, {}, 1},
                      Guard{"one class and the staff",
                            std::string(kHeader) +
                                "100001,10101,青木　一郎,101\n100002,10102,井上　花子,101\n"
                                "900001,90001,大野　先生,900\n",
                            {"1年2組の全員（2 人）", "利用者の 1 割を超える 2 人（全 5 人）"},
                            0},
                      Guard{"the staff alone",
                            std::string(kHeader) + "900001,90001,大野　先生,900\n",
                            {"1年の全員（4 人）", "利用者の 1 割を超える 4 人（全 5 人）"},
                            0},
                      Guard{"other staff",
                            kEveryone + "900002,90002,森　先生,900\n",
                            {"職員の全員（1 人）", "利用者の 1 割を超える 1 人（全 5 人）"},
                            0}));

TEST_F(RolloverTest, TheSummarySaysWhoLeavesStaysChangesAndArrives) {
    auto plan = PlanRollover(Connection(), kGoodList);
    EXPECT_EQ(RolloverSummary(plan),
              "去る 2 人（削除 1、卒業・転出へ 1）、残る 2 人、変わる 1 人、来る 1 人（予約の取消 "
              "1 件）");
    EXPECT_EQ(RolloverClassSummary(plan), "1年1組 残る 1・来る 1／1年2組 去る 2／2年1組 変わる 1");
}

// One file per class reads as the one list; a number two files give is
// a problem of the second, named.
TEST_F(RolloverTest, SeveralFilesMakeOnePlan) {
    std::vector<RolloverFile> files{
        {"1年1組.csv",
         std::string(kHeader) + "100002,10102,井上　花子,101\n300001,10201,新井　春,101\n"},
        {"2年1組.csv", std::string(kHeader) + "100001,20101,青木　一郎,201\n"},
        {"職員.csv", std::string(kHeader) + "900001,90001,大野　先生,900\n"}};
    auto plan = PlanRollover(Connection(), files);
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    auto whole = PlanRollover(Connection(), kGoodList);
    EXPECT_EQ(RolloverSummary(plan), RolloverSummary(whole));
    files[2].bytes += "100001,90002,青木　一郎,900\n";
    plan = PlanRollover(Connection(), files);
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_EQ(ProblemPlace(plan.problems[0]), "職員.csv 3行目");
    EXPECT_NE(plan.problems[0].reason.find("2年1組.csv の 2行目と重複"), std::string::npos)
        << plan.problems[0].reason;
}

// Leavers with books out go to 卒業・転出 (made), their reservations go
// and the books' reserved flags follow; a later run removes those whose
// books came back.
TEST_F(RolloverTest, LeaversWithBooksGoToTheirOwnGroupUntilTheBooksAreBack) {
    RunSql(data,
           "Update Book Set yoyakuF=True Where BOOK_ID=1 Or BOOK_ID=2;"
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi) Values"
           " (2, 1, '100003', '10201', '上田　健', '2025/06/03')");
    auto plan = PlanRollover(Connection(), kGoodList);
    EXPECT_EQ(plan.reservations.size(), 2u);  // 100004's of book 1, 100003's of book 2
    Apply(kGoodList);
    EXPECT_EQ(Column("Select SYOZOKU From SYOZOKU Where SYOZOKU_ID=99"),
              std::vector<std::string>{"卒業・転出"});
    EXPECT_EQ(Column("Select Book_ID, Name_ID From yoyaku"), std::vector<std::string>{"1 100001"});
    EXPECT_EQ(Column("Select BOOK_ID, yoyakuF From Book Where BOOK_ID<3 Order By BOOK_ID"),
              (std::vector<std::string>{"1 1", "2 0"}));
    plan = PlanRollover(Connection(), kGoodList);
    ASSERT_EQ(plan.kept.size(), 1u);  // book 4 is still out
    EXPECT_TRUE(plan.removed.empty());
    RunSql(data, "Update kashibo Set kashidashiF=Null Where BOOK_ID=4");
    plan = PlanRollover(Connection(), kGoodList);
    ASSERT_EQ(plan.removed.size(), 1u);
    EXPECT_EQ(plan.removed[0].before.nameId, "100003");
    EXPECT_TRUE(plan.alarms.empty());  // leavers of last year are no alarm
}

// Old → new, and the numbers that may mean another person.
TEST_F(RolloverTest, ChangesShowOldToNewAndDoubtfulNumbersAreWarned) {
    auto plan =
        PlanRollover(Connection(), std::string(kHeader) +
                                       "100001,20101,青木　一郎,101\n100002,10102,井上　花,101\n"
                                       "100003,10201,上田　健,102\n"
                                       "100004,10202,山田　太郎,102\n100009,10301,森　一,101\n");
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    ASSERT_EQ(plan.warnings.size(), 2u);
    EXPECT_EQ(plan.warnings[0].nameId, "100004");  // 江藤　空 → 山田　太郎
    EXPECT_EQ(plan.warnings[1].nameId, "100009");  // its loan of book 6 is on record
    EXPECT_EQ(plan.warnings[0].name, "江藤　空 → 山田　太郎");
    EXPECT_NE(plan.warnings[1].text.find("貸出の記録 1 件"), std::string::npos);
    auto rows = RolloverRows(plan);
    const std::vector<std::string> pupil{"変更",   "100001",        "青木　一郎",
                                         "1年1組", "10101 → 20101", "2行目"};
    EXPECT_NE(std::find(rows.begin(), rows.end(), pupil), rows.end());
    const std::vector<std::string> name{"変更",   "100002", "井上　花子 → 井上　花",
                                        "1年1組", "10102",  "3行目"};
    EXPECT_NE(std::find(rows.begin(), rows.end(), name), rows.end());
}

// A user whose name alone changes is a change, and the new name is written.
TEST_F(RolloverTest, ANameAloneChangingIsWritten) {
    auto list = kEveryone;
    list.replace(list.find("井上　花子"), std::string("井上　花子").size(), "井上　華子");
    auto plan = PlanRollover(Connection(), list);
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after.name, "井上　華子");
    Apply(list);
    EXPECT_EQ(Column("Select NAME From Name Where NAME_ID='100002'"),
              std::vector<std::string>{"井上　華子"});
}

// A class code SYOZOKU lacks is proposed, named from its code; the name
// the operator gives is the one added.
TEST_F(RolloverTest, AClassSyozokuLacksIsProposedAndAdded) {
    const std::string list = kEveryone + "900001,90001,大野　先生,900\n300001,30101,新井　春,301\n";
    auto plan = PlanRollover(Connection(), list);
    ASSERT_TRUE(plan.Good()) << plan.problems.front().reason;
    ASSERT_EQ(plan.newClasses.size(), 1u);
    EXPECT_EQ(plan.newClasses[0].code, 301);
    EXPECT_EQ(plan.newClasses[0].name, "3年1組");
    RolloverOptions options;
    options.classNames[301] = "3年1組（ひまわり）";
    Apply({{"", list}}, options);
    EXPECT_EQ(Column("Select SYOZOKU From SYOZOKU Where SYOZOKU_ID=301"),
              std::vector<std::string>{"3年1組（ひまわり）"});
    EXPECT_EQ(Column("Select syozoku_ID From Name Where NAME_ID='300001'"),
              std::vector<std::string>{"301"});
}

// The backup taken first holds the year that ends: a removed user, an old
// pupil number; the ending year's statistics lie beside it.
TEST_F(RolloverTest, TheBackupAndTheStatisticsHoldTheEndingYear) {
    Apply(kGoodList);
    PlaceConnection backup(DataPlace::BackupFile(BackupFile()));
    auto rows = SelectRows(*backup, "Select NAME_ID, seito_No From Name Order By NAME_ID").rows;
    std::vector<std::string> users;
    for (const auto& row : rows)
        users.push_back(TextOf(row.values[0]) + " " + TextOf(row.values[1]));
    EXPECT_EQ(users, (std::vector<std::string>{"100001 10101", "100002 10102", "100003 10201",
                                               "100004 10202", "900001 90001"}));
    const fs::path stats = root / "before-統計";
    size_t csv = 0, pdf = 0;
    for (const auto& entry : fs::directory_iterator(stats)) {
        csv += entry.path().extension() == ".csv";
        pdf += entry.path().extension() == ".pdf" && fs::file_size(entry.path()) > 1000;
    }
    EXPECT_EQ(csv, AllStatsViews().size());
    EXPECT_EQ(pdf, AllStatsViews().size());
    std::ifstream month(stats / "01_月別.csv", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(month)), {});
    EXPECT_NE(text.find(platform::ToCp932("\"2025/05\",\"6\"")), std::string::npos) << text;
}

}  // namespace
}  // namespace library_test
