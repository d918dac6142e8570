// kashidashi-admin check: folders broken on purpose, one fault each, and the
// finding that names it; --repair sets flags and counts and leaves every
// loan and reservation; a clean school is clean, also on a server.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "engine/pg_test_server.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class CheckCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        MakeSchoolWithLoans();
    }
    // The demo school with two loans lent at the desk: books 1 and 2 to
    // pupil 10101 (fixed number 100001).
    void MakeSchoolWithLoans() {
        MakeDemoSchool();
        std::filesystem::create_directories(scratch / "desk");
        auto lend =
            RunBuiltTool({"scans", folder, WriteScratch("lend.txt", "10101\n1\n2\nACTION\n"),
                          "--settings", (scratch / "desk").string()},
                         "lend");
        ASSERT_EQ(lend.status, 0) << lend.out << lend.err;
    }
};

class ServerCheckCommand : public CheckCommand {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        UseServer();
        if (Stopped()) return;
        MakeSchoolWithLoans();
    }
};

struct Fault {
    const char* name;
    const char* sql;      // the statements that break the school
    const char* finding;  // what check must say
    bool mendable;        // --repair mends it (the others stay, and check says so)
};

const Fault kFaults[] = {
    {"a flag set without a loan", "Update Book Set kashidashiF=True Where BOOK_ID=7",
     "[貸出フラグ] 図書番号 0000007 の貸出フラグは貸出中ですが、未返却の貸出は 0 件です", true},
    {"a flag cleared under a loan", "Update Book Set kashidashiF=False Where BOOK_ID=2",
     "[貸出フラグ] 図書番号 0000002 の貸出フラグは貸出中でないですが、未返却の貸出は 1 件です",
     true},
    {"a count wrong", "Update Name Set mihenkyakuSU=5 Where NAME_ID='100001'",
     "[未返却数] 利用者 100001 の未返却数は 5 ですが、未返却の貸出は 2 件です", true},
    {"a second open loan",
     "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashiF, kashidashibi) "
     "Values (1, '100002', '1', '2026/11/01')",
     "[二重貸出] 図書番号 0000001 に未返却の貸出が 2 件あります", false},
    {"a loan of a missing book",
     "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashiF, kashidashibi) "
     "Values (99999, '100003', '1', '2026/11/01')",
     "[貸出の図書なし] 未返却の貸出（図書番号 0099999、利用者 100003、貸出日 2026/11/01）", false},
    {"a loan of a missing user",
     "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashiF, kashidashibi) "
     "Values (9, '999999', '1', '2026/11/01')",
     "[貸出の利用者なし] 未返却の貸出（図書番号 0000009、利用者 999999", false},
    {"a reservation of a missing book",
     "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID) Values (88888, 1, '100002')",
     "[予約の図書なし] 予約（図書番号 0088888、予約番号 1、利用者 100002）", false},
    {"a reservation of a missing user",
     "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID) Values (3, 1, '777777')",
     "[予約の利用者なし] 予約（図書番号 0000003、予約番号 1、利用者 777777）", false},
    {"a reserved flag without a reservation", "Update Book Set yoyakuF=True Where BOOK_ID=8",
     "[予約フラグ] 図書番号 0000008 は予約ありの印がついていますが、予約はありません", true},
};

// A reservation of the book or of its title (any copy, by ISBN) keeps the flag.
TEST_F(CheckCommand, AReservedFlagWithAReservationIsNoFault) {
    Sql("Update Book Set yoyakuF=True, ISBN='9784000000011' Where BOOK_ID=8 Or BOOK_ID=9");
    Sql("Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID) Values (8, 1, '100002')");
    Sql("Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID)"
        " Values (7, 1, '100003', '978400000001')");
    auto found = RunBuiltTool({"check", folder});
    EXPECT_EQ(found.status, 0) << found.out << found.err;
}

TEST_F(CheckCommand, EachFaultIsNamedAndTheFlagsAndCountsAreMended) {
    auto clean = RunBuiltTool({"check", folder});
    ASSERT_EQ(clean.status, 0) << clean.out << clean.err;
    for (const auto& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        ToolsFixture::TearDown();
        ToolsFixture::SetUp();
        MakeSchoolWithLoans();
        Sql(fault.sql);
        auto found = RunBuiltTool({"check", folder});
        EXPECT_EQ(found.status, 1);
        EXPECT_NE(found.out.find(fault.finding), std::string::npos) << found.out;
        auto loans = Rows("kashibo");
        auto reservations = Rows("yoyaku");
        auto repair = RunBuiltTool({"check", folder, "--repair"}, "repair");
        EXPECT_EQ(repair.status, fault.mendable ? 0 : 1) << repair.out << repair.err;
        if (fault.mendable) EXPECT_NE(repair.out.find("修復: "), std::string::npos) << repair.out;
        EXPECT_EQ(Rows("kashibo"), loans);  // never a loan or a reservation deleted
        EXPECT_EQ(Rows("yoyaku"), reservations);
        if (fault.mendable) EXPECT_EQ(RunBuiltTool({"check", folder}, "after").status, 0);
    }
}

TEST_F(CheckCommand, APageOfTheFileOverwrittenIsNamed) {
    const std::string database = folder + "/kashidashi.db";
    auto size = std::filesystem::file_size(database);
    ASSERT_GT(size, 10u * 4096);
    {
        std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(6 * 4096);  // a page in the middle, its header and cells
        std::mt19937 random(7);
        for (int i = 0; i < 4096; ++i) file.put(static_cast<char>(random()));
    }
    auto found = RunBuiltTool({"check", folder});
    EXPECT_EQ(found.status, 1);
    EXPECT_NE(found.out.find("[記憶域] "), std::string::npos) << found.out << found.err;
    EXPECT_EQ(RunBuiltTool({"check", folder, "--repair"}, "repair").status, 1);
}

TEST_F(CheckCommand, AFileThatIsNoDatabaseIsNamed) {
    std::ofstream(folder + "/kashidashi.db", std::ios::binary | std::ios::trunc)
        << std::string(8192, 'x');
    auto found = RunBuiltTool({"check", folder});
    EXPECT_EQ(found.status, 1);
    EXPECT_NE(found.out.find("[記憶域] "), std::string::npos) << found.out << found.err;
}

TEST_F(ServerCheckCommand, AFlagWrongOnTheServerIsNamedAndMended) {
    EXPECT_EQ(RunBuiltTool({"check", folder}).status, 0);
    Sql(kFaults[0].sql);
    auto found = RunBuiltTool({"check", folder});
    EXPECT_EQ(found.status, 1);
    EXPECT_NE(found.out.find(kFaults[0].finding), std::string::npos) << found.out;
    EXPECT_EQ(RunBuiltTool({"check", folder, "--repair"}, "repair").status, 0);
    EXPECT_EQ(RunBuiltTool({"check", folder}, "after").status, 0);
}

}  // namespace
}  // namespace tools_test
