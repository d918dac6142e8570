// The byte rules by which looked-up values become fields of the record.
#include <gtest/gtest.h>

#include "catalogue/answer_values.h"
#include "platform/cp932.h"

namespace catalogue_test {
namespace {

using namespace kashidashi::catalogue;
using ::platform::FromCp932;
using ::platform::ToCp932;

TEST(AnswerValuesTest, ATitleIsCutAt60BytesWithoutSplittingACharacter) {
    const struct {
        std::string title, head, rest;
    } cases[] = {
        {"短い書名", "短い書名", ""},
        {std::string(60, 'a'), std::string(60, 'a'), ""},
        // byte 60 starts a double-byte character: 59 bytes stay in the title
        {std::string(59, 'a') + "本の続き", std::string(59, 'a'), "本の続き"},
        {std::string(61, 'a'), std::string(60, 'a'), "a"},
        // the subtitle takes at most 120 bytes and never half a character
        {std::string(60, 'a') + std::string(119, 'b') + "本", std::string(60, 'a'),
         std::string(119, 'b')},
    };
    for (const auto& c : cases) {
        TLookupRecord r;
        SplitTitle(ToCp932(c.title), r);
        EXPECT_EQ(FromCp932(r.Title), c.head) << c.title;
        EXPECT_EQ(FromCp932(r.Subtitle), c.rest) << c.title;
    }
}

TEST(AnswerValuesTest, APriceGivesItsFirstNumber) {
    const struct {
        const char* price;
        const char* digits;
    } cases[] = {
        {"3200円", "3200"},     {"1200円 (税込)", "1200"},
        {"￥２８００", "2800"}, {"1,000円 (税別)", "1000"},
        {"非売品", ""},         {"2381円+税 10冊", "2381"},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstNumber(AnswerValue(c.price)), c.digits) << c.price;
}

TEST(AnswerValuesTest, AnExtentGivesPagesAndSize) {
    const struct {
        const char* extent;
        const char* pages;
        const char* size;
    } cases[] = {
        {"349p", "349", ""},
        {"27p ; 19×27cm", "27", "19×27"},
        {"231p ; 21cm", "231", "21"},
        {"ＣＤ 1枚", "", "cd 1枚"},  // no "p": all of it, less the first "cm"
        {"1冊 ; 22cm", "", "1冊 ; 22"},
        {"冪 10p", "冪 10", ""},  // "冪" ends in the byte of "p", which is no "p"
    };
    for (const auto& c : cases) {
        TLookupRecord r;
        SplitExtent(AnswerValue(c.extent), r);
        EXPECT_EQ(FromCp932(r.Pages), c.pages) << c.extent;
        EXPECT_EQ(FromCp932(r.Size), c.size) << c.extent;
    }
}

TEST(AnswerValuesTest, AuthorsAreSplitAtSlashesIntoFour) {
    TLookupRecord r;
    SplitAuthors("一/二/三/四/五", r);
    EXPECT_EQ(std::vector<std::string>({r.Author1, r.Author2, r.Author3, r.Author4}),
              (std::vector<std::string>{"一", "二", "三", "四/五"}));
    TLookupRecord one;
    SplitAuthors("Adam Thomas", one);
    EXPECT_EQ(one.Author1, "Adam Thomas");
    EXPECT_EQ(one.Author2, "");
}

TEST(AnswerValuesTest, CommasBecomeBlanks) {
    EXPECT_EQ(FromCp932(AnswerValue("Martin, Robert C")), "Martin  Robert C");
}

}  // namespace
}  // namespace catalogue_test
