// kashidashi-admin marc-import and lookup, run as built: MARC21 files in
// ISO 2709 and MARCXML, all or nothing, and what the lookup prints.
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "lookup_fixture.h"
#include "marc_files.h"

namespace catalogue_test {
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class MarcImportTest : public LookupFixture {
  protected:
    void SetUp() override {
        LookupFixture::SetUp();
        setenv("KASHIDASHI_DRIVE_ROOT", folder.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KASHIDASHI_DRIVE_ROOT");
        LookupFixture::TearDown();
    }
    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    ToolRun Tool(const std::vector<std::string>& args) {
        std::string command = std::string("'") + KX_ADMIN_TOOL + "'";
        for (const auto& a : args) command += " '" + a + "'";
        command += " >tool.out 2>tool.err";
        ToolRun run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Read(folder / "tool.out");
        run.err = Read(folder / "tool.err");
        return run;
    }
    std::string File(const std::string& name, const std::string& bytes) {
        WriteFile((folder / name).string(), bytes);
        return (folder / name).string();
    }
    ToolRun LookupMarc(const std::string& isbn) {
        return Tool({"lookup", isbn, "--source", "marc"});
    }
};

TEST_F(MarcImportTest, Iso2709AndMarcXmlRecordsCanBeLookedUp) {
    const std::string iso = File(
        "a.mrc", Iso2709(Book("ぐりとぐら", "9784834000825", {{"100", {{'a', "中川李枝子"}}}})) +
                     Iso2709(Book("二冊目", "4000000020")));
    ToolRun run = Tool({"marc-import", iso});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 件を "), std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::exists(folder / "drive_c/jbox/ksno.mdb"));
    const std::string xml = File("b.xml", MarcXml({Book("はらぺこあおむし", "4033280103")}));
    ASSERT_EQ(Tool({"marc-import", xml}).status, 0);
    run = LookupMarc("9784834000825");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "syomei2\tぐりとぐら\ncyosya1\t中川李枝子\nseikyu\t000--\nbiko\t0\nNDC_ID\t0\n"
              "HKN_ID\t1\nyobi1_ID\t0\n");
    EXPECT_NE(LookupMarc("9784033280103").out.find("syomei2\tはらぺこあおむし\n"),
              std::string::npos);
    EXPECT_NE(LookupMarc("978400000002").out.find("syomei2\t二冊目\n"), std::string::npos);
}

TEST_F(MarcImportTest, AFileWithBadRecordsChangesNothing) {
    ASSERT_EQ(Tool({"marc-import", File("good.mrc", Iso2709(Book("元の本", "4834000826")))}).status,
              0);
    const struct {
        const char* name;
        std::string bytes;
        std::string report;
    } cases[] = {
        {"no title", Iso2709(Book("新しい本", "4834000826")) + Iso2709(Book("", "4000000020")),
         "レコード 2: 書名(245 $a)がありません\n"},
        {"no ISBN-10",
         Iso2709(Book("新しい本", "4834000826")) + Iso2709(Book("本", "9791234567896")),
         "レコード 2: ISBN-10になるISBN(020 $a)がありません\n"},
        {"not UTF-8", Iso2709(Book("\xff\xfe", "4834000826")),
         "レコード 1: 文字コードがUTF-8ではありません\n"},
        {"broken", Iso2709(Book("新しい本", "4834000826")) + "00099nam garbage",
         "レコード 2: MARC21(ISO 2709)として読めません\n"},
        {"not MARC", "これはMARCではありません。\n",
         "レコード 1: MARC21(ISO 2709)として読めません\n"},
        {"empty", "", "MARCレコードがありません\n"},
        {"bad XML", "<collection><record>", "MARCXMLとして読めません\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool({"marc-import", File("bad.mrc", c.bytes)});
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.err,
                  c.report + "取り込みを中止しました。MARCのデータは何も変わっていません。\n")
            << c.name;
        EXPECT_NE(LookupMarc("9784834000825").out.find("syomei2\t元の本\n"), std::string::npos)
            << c.name;
    }
}

TEST_F(MarcImportTest, LookupSaysWhatTheSourceSays) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"lookup", "97848340008X"}, 1, "ISBNは12桁か13桁の数字で入れてください。\n"},
        {{"lookup", "978483400"}, 1, "ISBNは12桁か13桁の数字で入れてください。\n"},
        {{"lookup", "9784834000825", "--source", "amazon"}, 2, ""},
        {{"lookup", "9784834000825", "--source"}, 2, ""},
        {{"lookup", "9784033280103", "--source", "rakuten", "--base", "BASE"},
         1,
         "B.楽天からの引当が出来ませんでした。\n"},
        {{"lookup", "9784834000825", "--base", "BASE"},
         1,
         "B.国会図書館からの引当が出来ませんでした。\n"},
    };
    server->Serve("/services/", Answer("rakuten_none.json"));
    server->Serve("/api/", "", 503);
    for (auto c : cases) {
        for (auto& a : c.args)
            if (a == "BASE") a = server->Base();
        const ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[1];
        if (c.status == 1) {
            EXPECT_EQ(run.err, c.err);
        }
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(MarcImportTest, LookupPrintsTheColumnsOfAnOnlineAnswer) {
    server->Serve("/services/", Answer("rakuten_five_authors.json"));
    const ToolRun run =
        Tool({"lookup", "9784033280103", "--source", "rakuten", "--base", server->Base()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "syomei2\t五人の本\nsyomei3\t合作\ncyosya1\t一\ncyosya2\t二\ncyosya3\t三\n"
              "cyosya4\t四/五\nsyuppansya\t某社\nsyuppannen\t2020年01月\nookisa\t単行本\n"
              "kakaku\t2000\nkey1\tｺﾞﾆﾝ ﾉ ﾎﾝ\nkey2\tｲﾁ\nURL\thttps://books.rakuten.co.jp/rb/1/\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "$$2013"));
}

}  // namespace
}  // namespace catalogue_test
