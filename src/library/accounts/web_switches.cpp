#include "library/accounts/web_switches.h"

#include <map>
#include <stdexcept>

#include "engine/common/error.h"
#include "engine/storage/own_table.h"
#include "library/connection_transaction.h"
#include "library/sql_rows.h"

namespace kashidashi::accounts {
namespace {

using engine::Value;
using engine::storage::Connection;
using engine::storage::TableSchema;

TableSchema SwitchTable() {
    TableSchema table;
    table.name = kSwitchTable;
    table.columns = {{"NAME", {engine::FieldType::String, 40}},
                     {"VAL", {engine::FieldType::Integer, 0}}};
    table.indexes = {{"PRIMARY", {"NAME"}, true, true}};
    return table;
}

std::map<std::string, int64_t> Stored(Connection& connection) {
    std::map<std::string, int64_t> stored;
    if (!connection.DescribeTable(kSwitchTable)) return stored;
    for (const auto& row :
         library::SelectRows(connection, std::string("Select NAME, VAL From ") + kSwitchTable).rows)
        stored[library::TextOf(row.values[0])] = library::IntegerOf(row.values[1]);
    return stored;
}

void Put(Connection& connection, const TableSchema& table, const std::string& name, int64_t value) {
    engine::storage::ScanRequest find;
    find.table = &table;
    find.orderColumns = {0};
    find.equalKeys = {Value(name)};
    auto rows = connection.Scan(find);
    std::vector<Value> values{Value(name), Value(value)};
    if (rows.empty()) {
        connection.InsertRow(table, values);
    } else if (rows.front().values != values &&
               !connection.UpdateRow(table, rows.front().id, rows.front().values, values)) {
        throw engine::EngineError::Make(engine::err::kRecordChanged, kSwitchTable);
    }
}

}  // namespace

WebSwitches ReadWebSwitches(Connection& connection) {
    const auto stored = Stored(connection);
    auto on = [&](const char* name) {
        auto it = stored.find(name);
        return it != stored.end() && it->second != 0;
    };
    WebSwitches switches;
    switches.pupilPage = on("pupil_page");
    switches.readingRecord = on("reading_record");
    switches.otherSchools = on("other_schools");
    auto limit = stored.find("reservation_limit");
    if (limit != stored.end() && limit->second >= 1 && limit->second <= kMostReservationLimit)
        switches.reservationLimit = static_cast<int>(limit->second);
    return switches;
}

void WriteWebSwitches(Connection& connection, const WebSwitches& switches) {
    if (switches.reservationLimit < 1 || switches.reservationLimit > kMostReservationLimit)
        throw std::invalid_argument("予約の上限は1から20までにしてください。");
    const TableSchema table = engine::storage::EnsureOwnTable(connection, SwitchTable());
    library::ConnectionTransaction transaction(connection);
    Put(connection, table, "pupil_page", switches.pupilPage);
    Put(connection, table, "reading_record", switches.readingRecord);
    Put(connection, table, "other_schools", switches.otherSchools);
    Put(connection, table, "reservation_limit", switches.reservationLimit);
    transaction.Commit();
}

std::string SwitchesText(const WebSwitches& switches) {
    auto word = [](bool on) { return on ? std::string("使う") : std::string("使わない"); };
    return "利用者のページ: " + word(switches.pupilPage) +
           "、読書記録: " + word(switches.readingRecord) +
           "、他の学校の本: " + word(switches.otherSchools) +
           "、予約の上限: " + std::to_string(switches.reservationLimit) + "冊";
}

}  // namespace kashidashi::accounts
