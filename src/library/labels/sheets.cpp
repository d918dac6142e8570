#include "library/labels/sheets.h"

#include <sstream>
#include <stdexcept>

#include "library/sql_rows.h"

namespace kashidashi::library {

std::string CustomSheetText(const reports::CellSheet& sheet) {
    std::ostringstream text;
    text << sheet.left << ' ' << sheet.top << ' ' << sheet.cellWidth << ' ' << sheet.cellHeight
         << ' ' << sheet.pitchX << ' ' << sheet.pitchY << ' ' << sheet.columns << ' ' << sheet.rows;
    return text.str();
}

std::optional<reports::CellSheet> CustomSheetOf(const std::string& text) {
    std::istringstream in(text);
    reports::CellSheet sheet;
    sheet.name = kCustomSheetName;
    if (!(in >> sheet.left >> sheet.top >> sheet.cellWidth >> sheet.cellHeight >> sheet.pitchX >>
          sheet.pitchY >> sheet.columns >> sheet.rows))
        return std::nullopt;
    std::string rest;
    if (in >> rest) return std::nullopt;
    sheet.title = "ユーザー設定（" + text + "）";
    return sheet;
}

std::optional<reports::CellSheet> ReadCustomSheet(engine::storage::Connection& connection) {
    auto rows = SelectRows(connection, "Select B1 From Reg Where ID=:PM1",
                           {{"pm1", engine::Value(kCustomSheetRegId)}})
                    .rows;
    if (rows.empty()) return std::nullopt;
    return CustomSheetOf(TextOf(rows.front().values[0]));
}

void SaveCustomSheet(engine::storage::Connection& connection, const reports::CellSheet& sheet) {
    if (auto problem = sheet.Problem()) throw std::runtime_error(*problem);
    SqlParams params{{"pm1", engine::Value(CustomSheetText(sheet))},
                     {"pm2", engine::Value(kCustomSheetRegId)}};
    if (ExecuteRows(connection, "Update Reg Set B1=:PM1 Where ID=:PM2", params) == 0)
        ExecuteRows(connection, "Insert Into Reg (ID, B1) Values (:PM2, :PM1)", params);
}

std::vector<reports::CellSheet> AvailableSheets(engine::storage::Connection& connection) {
    auto sheets = reports::StandardCellSheets();
    if (auto custom = ReadCustomSheet(connection)) sheets.push_back(*custom);
    return sheets;
}

}  // namespace kashidashi::library
