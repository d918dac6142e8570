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
    server->Serve("/services/", Answer("rakuten_ichiba_none.json"));
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

// Each recorded answer, served as the service's, and what the tool prints.
TEST_F(MarcImportTest, LookupPrintsTheColumnsOfEachRecordedAnswer) {
    const struct {
        const char* source;
        const char* answer;
        const char* isbn;
        int status;
        std::string out, err;
    } cases[] = {
        {"ndl", "ndl_search_clean_architecture.xml", "9784048930659", 0,
         "syomei2\tClean Architecture : 達人に学ぶソフトウェアの構造と設計\n"
         "cyosya1\tMartin  Robert C\ncyosya2\t角  征典\ncyosya3\t高木  正弘\n"
         "syuppansya\tドワンゴ\nsyuppannen\t2018.7\npageSuu\t349\nkakaku\t3200\n"
         "seikyu\t007-カ-\nbiko\t00763\nNDC_ID\t0\n"
         "key1\tｸﾘｰﾝ ｱｰｷﾃｸﾁｬ : ﾀﾂｼﾞﾝ ﾆ ﾏﾅﾌﾞ ｿﾌ\nkey2\tｶﾄﾞ  ﾏｻﾉﾘ/ ﾀｶｷﾞ  ﾏｻﾋﾛ/\nyobi1_ID\t0\n",
         ""},
        {"ndl", "ndl_search_none.xml", "9784048930659", 1, "",
         "A.国会図書館からの引当が出来ませんでした。\n"},
        {"rakuten", "rakuten_books_v1.json", "9784091422354", 0,
         "syomei1\tてんとう虫コミックス\nsyomei2\tポケットモンスターSPECIAL Ωルビー・αサファイア "
         "3\n"
         "cyosya1\t日下 秀憲\ncyosya2\t山本 サトシ\nsyuppansya\t小学館\n"
         "syuppannen\t2016年09月28日\nookisa\tｺﾐｯｸ\nkakaku\t0\n"
         "key1\tﾎﾟｹｯﾄﾓﾝｽﾀｰｽﾍﾟｼｬﾙ ｵﾒｶﾞﾙﾋﾞｰｱﾙﾌｧｻ\nkey2\tｸｻｶ ﾋﾃﾞﾉﾘ/ﾔﾏﾓﾄ ｻﾄｼ\n"
         "URL\thttp://books.rakuten.co.jp/rb/14382742/\n",
         ""},
        {"rakuten", "rakuten_books_v2.json", "9784800266545", 0,
         "syomei2\tRUBY and you tote bag book\nsyuppansya\t宝島社\n"
         "syuppannen\t2017年02月14日\nookisa\tﾑｯｸその他\nkakaku\t0\n"
         "key1\tﾙﾋﾞｰ ｱﾝﾄﾞ ﾕｰ ﾄｰﾄ ﾊﾞｯｸﾞ ﾌﾞｯｸ\nURL\thttp://books.rakuten.co.jp/rb/14647274/\n",
         ""},
        {"rakuten", "rakuten_foreign_books_compact.json", "9781426741371", 0,
         "syomei2\tLetters from Ruby\ncyosya1\tAdam Thomas\nsyuppansya\tABINGDON PR\n"
         "syuppannen\t2013年\nkakaku\t2373\nURL\thttp://books.rakuten.co.jp/rb/12423044/\n",
         ""},
        {"rakuten", "rakuten_ichiba_none.json", "9784091422354", 1, "",
         "B.楽天からの引当が出来ませんでした。\n"},
    };
    for (const auto& c : cases) {
        server = std::make_unique<AnswerServer>();
        server->Serve("/", Answer(c.answer));
        const ToolRun run =
            Tool({"lookup", c.isbn, "--source", c.source, "--base", server->Base()});
        EXPECT_EQ(run.status, c.status) << c.answer << run.err;
        EXPECT_EQ(run.out, c.out) << c.answer;
        EXPECT_EQ(run.err, c.err) << c.answer;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "$$2013"));
}

// A real record of a Japanese book (tests/catalogue/marc/README.md) that
// has no ISBN, in a file with records that have one.
TEST_F(MarcImportTest, ARealRecordWithoutIsbnIsSkippedAndTheOthersStored) {
    std::ifstream in(std::string(KX_TEST_DATA) + "/catalogue/marc/880_Nihon_no_chasho.mrc",
                     std::ios::binary);
    const std::string real{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(real.size(), 1828u);
    const std::string file = File("mixed.mrc", Iso2709(Book("一冊目", "4834000826")) + real +
                                                   Iso2709(Book("二冊目", "4000000020")));
    const ToolRun run = Tool({"marc-import", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("2 件を ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("ISBNのないレコード 1 件 (2 番目) は取り込みませんでした。\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(LookupMarc("978400000002").out.find("syomei2\t二冊目\n"), std::string::npos);
}

// A real export holds records without an ISBN: they are skipped and counted,
// the others stored.
TEST_F(MarcImportTest, RecordsWithoutAnIsbnAreSkippedAndCounted) {
    TestRecord noIsbn{{"245", {{'a', "ISBNのない本"}}}};
    TestRecord only979 = Book("979の本", "9791234567896");
    const std::string file =
        File("export.mrc", Iso2709(Book("一冊目", "4834000826")) + Iso2709(noIsbn) +
                               Iso2709(Book("二冊目", "4000000020")) + Iso2709(only979));
    const ToolRun run = Tool({"marc-import", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 件を "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ISBNのないレコード 2 件 (2, 4 番目) は取り込みませんでした。\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(LookupMarc("978400000002").out.find("syomei2\t二冊目\n"), std::string::npos);
    const ToolRun onlyWithout = Tool({"marc-import", File("none.mrc", Iso2709(noIsbn))});
    EXPECT_EQ(onlyWithout.status, 0) << onlyWithout.err;
    EXPECT_NE(onlyWithout.out.find("0 件を "), std::string::npos) << onlyWithout.out;
}

}  // namespace
}  // namespace catalogue_test
