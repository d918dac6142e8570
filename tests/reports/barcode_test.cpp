// NW-7's characters, and the symbols of barcode objects: a wide element of
// `ratio` narrow ones, the quiet zones counted in the symbol's width.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "reports/barcode.h"
#include "reports/nw7.h"

namespace kashidashi::reports {
namespace {

TEST(Nw7, EveryCharacterHasFourBarsThreeSpacesAndItsWideElements) {
    const std::string characters = "0123456789-$:/.+ABCD";
    std::set<std::string_view> patterns;
    for (char c : characters) {
        auto pattern = Nw7Pattern(c);
        ASSERT_TRUE(pattern) << c;
        EXPECT_EQ(pattern->size(), 7u);
        const bool two = std::string_view("0123456789-$").find(c) != std::string_view::npos;
        EXPECT_EQ(std::count(pattern->begin(), pattern->end(), 'w'), two ? 2 : 3) << c;
        patterns.insert(*pattern);
    }
    EXPECT_EQ(patterns.size(), characters.size());
    EXPECT_FALSE(Nw7Pattern('E'));
}

TEST(Barcode, SymbolsOfARatioAndAQuietZone) {
    struct Case {
        const char* text;
        BarcodeForm form;
        double units;  // narrow units, both quiet zones included
        size_t bars;
    } cases[] = {
        // The control sheet's size: 13 units a character and a gap.
        {"ACTION", {Symbology::Code39, 2.0, 0}, 103, 40},
        // Nine characters of 6 + 3 × 2.5, eight gaps, ten on each side.
        {"0000001", {Symbology::Code39, 2.5, 10}, 9 * 13.5 + 8 + 20, 45},
        // A…A: two start/stop of 4 + 3 × 2.5, seven digits of 5 + 2 × 2.5.
        {"0000001", {Symbology::Nw7, 2.5, 10}, 2 * 11.5 + 7 * 10 + 8 + 20, 36},
    };
    for (const auto& c : cases) {
        auto symbol = MakeSymbol(c.text, c.form);
        ASSERT_TRUE(symbol) << c.text;
        EXPECT_DOUBLE_EQ(symbol->units, c.units) << c.text;
        EXPECT_EQ(symbol->bars.size(), c.bars) << c.text;
        EXPECT_DOUBLE_EQ(symbol->bars.front().start, c.form.quiet) << c.text;
        const auto& last = symbol->bars.back();
        EXPECT_DOUBLE_EQ(last.start + last.width + c.form.quiet, c.units) << c.text;
    }
    EXPECT_FALSE(MakeSymbol("12A", {Symbology::Nw7}));  // its own start letter
    EXPECT_FALSE(MakeSymbol("1*", {Symbology::Code39}));
    EXPECT_EQ(SymbologyOf("NW-7"), Symbology::Nw7);
    EXPECT_EQ(SymbologyOf("code39"), Symbology::Code39);
    EXPECT_FALSE(SymbologyOf("ean13"));
}

}  // namespace
}  // namespace kashidashi::reports
