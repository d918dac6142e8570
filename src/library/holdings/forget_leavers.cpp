#include "library/holdings/forget_leavers.h"

#include <map>
#include <set>

#include "engine/common/dates.h"
#include "library/connection_transaction.h"
#include "library/holdings/own_tables.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

engine::Date YearsBefore(engine::Date today, int years) {
    auto civil = engine::ToCivil(today);
    const int day = civil.month == 2 && civil.day == 29 ? 28 : civil.day;
    return engine::MakeDate(civil.year - years, civil.month, day);
}

}  // namespace

ForgetPlan PlanForgetLeavers(Connection& connection, int years, engine::Date today) {
    const engine::Date limit = YearsBefore(today, years);
    std::set<std::string> known;
    for (const auto& row : SelectRows(connection, "Select NAME_ID From Name").rows)
        known.insert(TextOf(row.values[0]));
    std::set<std::string> users;
    if (HasOwnTable(connection, kLeftTable))
        for (const auto& row :
             SelectRows(connection, std::string("Select NAME_ID, LEFT_ON From ") + kLeftTable).rows)
            if (auto left = DateOf(row.values[1]); left && *left <= limit)
                users.insert(TextOf(row.values[0]));
    // Fixed numbers Name no longer knows: gone once all their loans came back long ago.
    std::map<std::string, std::optional<engine::Date>> lastBack;
    std::set<std::string> stillOut;
    for (const auto& row :
         SelectRows(connection, "Select NAME_ID, henkyakubi, kashidashiF From kashibo").rows) {
        const std::string id = TextOf(row.values[0]);
        if (id.empty() || known.count(id)) continue;
        if (TextOf(row.values[2]) == "1") stillOut.insert(id);
        auto back = DateOf(row.values[1]);
        auto& last = lastBack[id];
        if (back && (!last || *last < *back)) last = back;
    }
    for (const auto& [id, back] : lastBack)
        if (!stillOut.count(id) && back && *back <= limit) users.insert(id);
    ForgetPlan plan;
    for (const auto& id : users) {
        auto rows = SelectRows(connection,
                               "Select BOOK_ID From kashibo Where NAME_ID=:PM1 And"
                               " (kashidashiF Is Null Or kashidashiF<>'1')",
                               {{"pm1", Value(id)}});
        if (rows.rows.empty()) continue;
        plan.users.push_back(id);
        plan.loans += static_cast<int64_t>(rows.rows.size());
    }
    return plan;
}

ForgetPlan ForgetLeavers(Connection& connection, int years, engine::Date today) {
    ConnectionTransaction transaction(connection);
    ForgetPlan plan = PlanForgetLeavers(connection, years, today);
    for (const auto& id : plan.users)
        ExecuteRows(connection,
                    "Update kashibo Set NAME_ID=:PM2, seitoNo=:PM2 Where NAME_ID=:PM1 And"
                    " (kashidashiF Is Null Or kashidashiF<>'1')",
                    {{"pm1", Value(id)}, {"pm2", Value()}});
    transaction.Commit();
    return plan;
}

}  // namespace kashidashi::library::holdings
