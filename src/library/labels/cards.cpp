#include "library/labels/cards.h"

#include "library/affiliation.h"
#include "library/labels/labels.h"
#include "library/rows_dataset.h"
#include "library/sql_rows.h"
#include "reports/layout_file.h"

namespace kashidashi::library {
namespace {

using engine::FieldType;
using engine::Value;

constexpr const char* kUserColumns = "Select NAME_ID, seito_No, NAME, syozoku_ID From Name ";

std::vector<CardUser> UsersOf(engine::storage::Connection& connection,
                              const engine::storage::ResultSet& result) {
    const auto classes = ReadAffiliations(connection);
    std::vector<CardUser> users;
    for (const auto& row : result.rows) {
        const auto& v = row.values;
        std::string className;
        if (!v[3].IsNull()) {
            auto it = classes.find(IntegerOf(v[3]));
            className = it != classes.end() ? it->second : std::to_string(IntegerOf(v[3]));
        }
        users.push_back({TextOf(v[0]), TextOf(v[1]), TextOf(v[2]), className});
    }
    return users;
}

}  // namespace

int ReadUserNumberMode(engine::storage::Connection& connection) {
    auto rows = SelectRows(connection, "Select N1 From Reg Where ID=10").rows;
    return rows.empty() ? 4 : static_cast<int>(IntegerOf(rows.front().values[0]));
}

std::string CardNumber(const CardUser& user, int userNumberMode) {
    return userNumberMode == 5 ? user.nameId : user.pupilNo;
}

std::vector<CardUser> UsersOfClass(engine::storage::Connection& connection,
                                   std::optional<int64_t> classCode) {
    if (!classCode)
        return UsersOf(connection,
                       SelectRows(connection, std::string(kUserColumns) + "Order By seito_No"));
    return UsersOf(connection,
                   SelectRows(connection,
                              std::string(kUserColumns) + "Where syozoku_ID=:PM1 Order By seito_No",
                              {{"pm1", Value(*classCode)}}));
}

std::vector<CardUser> UsersOfList(engine::storage::Connection& connection,
                                  const std::vector<std::string>& numbers, int userNumberMode,
                                  std::vector<std::string>& unknown) {
    const std::string where = userNumberMode == 5 ? "Where NAME_ID=:PM1" : "Where seito_No=:PM1";
    std::vector<CardUser> users;
    for (const auto& number : numbers) {
        auto found = UsersOf(connection, SelectRows(connection, std::string(kUserColumns) + where,
                                                    {{"pm1", Value(number)}}));
        if (found.empty())
            unknown.push_back(number);
        else
            users.push_back(found.front());
    }
    return users;
}

reports::PreparedReport CardsReport(const std::vector<CardUser>& users, int userNumberMode,
                                    const reports::CellSheet& sheet, int start,
                                    const std::string& school, reports::Symbology symbology) {
    engine::ColumnType text{FieldType::String, 100};
    TRowsDataSet data("rptDBDataset1",
                      {{"code", text}, {"name", text}, {"class", text}, {"school", text}});
    std::vector<std::vector<Value>> rows;
    for (const auto& user : users)
        rows.push_back({Value(CardNumber(user, userNumberMode)), Value(user.name),
                        Value(user.className), Value(school)});
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto layout = reports::LoadLayout(QStringLiteral("user_card"));
    UseSymbology(layout, symbology);
    return reports::RenderCells(layout, sheet, start, {source.get()});
}

}  // namespace kashidashi::library
