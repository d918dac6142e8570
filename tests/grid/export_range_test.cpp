// Column names and range addresses of the spreadsheet export.
#include <gtest/gtest.h>

#include <stdexcept>

#include "grid/export_range.h"

namespace {

using kashidashi::CellRangeAddress;
using kashidashi::ColumnName;

TEST(ExportRange, ColumnNames) {
    const std::pair<int, const char*> cases[] = {{1, "A"},   {26, "Z"},  {27, "AA"}, {28, "AB"},
                                                 {52, "AZ"}, {53, "BA"}, {702, "ZZ"}};
    for (const auto& [column, name] : cases) EXPECT_EQ(ColumnName(column), name) << column;
    EXPECT_THROW(ColumnName(703), std::out_of_range);
    EXPECT_THROW(ColumnName(0), std::out_of_range);
}

TEST(ExportRange, RangeAddresses) {
    EXPECT_EQ(CellRangeAddress(1, 1, 9, 2), "A1:C10");    // table of 3 columns, 10 lines
    EXPECT_EQ(CellRangeAddress(1, 28, 0, 0), "AB1:AB1");  // title cell of column 28
    EXPECT_EQ(CellRangeAddress(2, 3, 7, 0), "C2:C9");     // text column
    EXPECT_EQ(CellRangeAddress(1, 1, 0, 6), "A1:G1");     // title row
}

}  // namespace
