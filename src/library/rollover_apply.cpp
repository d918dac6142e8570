// Putting the new school year in place (rollover.h): under the hold of the
// tables, after the backup, in one transaction.
#include <stdexcept>

#include "engine/common/names.h"
#include "library/affiliation.h"
#include "library/rollover.h"
#include "library/rollover_input.h"
#include "library/sql_rows.h"
#include "library/table_hold.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

// The file's columns of a listed user, as SET or INSERT names and parameters.
void UpdateUser(Connection& connection, const admin::Cells& cells, const std::string& nameId) {
    std::string sets;
    SqlParams params{{"key", Value(nameId)}};
    for (size_t i = 0; i < cells.size(); ++i) {
        // The count of books out is the desk's, never the list's.
        if (engine::SameName(cells[i].first, "NAME_ID") ||
            engine::SameName(cells[i].first, "mihenkyakuSU"))
            continue;
        const std::string param = "p" + std::to_string(i);
        sets += (sets.empty() ? "" : ", ") + cells[i].first + "=:" + param;
        params[param] = cells[i].second;
    }
    if (!sets.empty())
        ExecuteRows(connection, "Update Name Set " + sets + " Where NAME_ID=:KEY", params);
}

void InsertUser(Connection& connection, const admin::Cells& cells) {
    std::string names = "mihenkyakuSU", values = "0";
    SqlParams params;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (engine::SameName(cells[i].first, "mihenkyakuSU")) continue;
        const std::string param = "p" + std::to_string(i);
        names += ", " + cells[i].first;
        values += ", :" + param;
        params[param] = cells[i].second;
    }
    ExecuteRows(connection, "Insert Into Name (" + names + ") Values (" + values + ")", params);
}

// The desk's 予約更新 for one user: their reservations take the new number and name.
void RenewReservations(Connection& connection, const RolloverUser& user) {
    ExecuteRows(
        connection, "Update yoyaku Set Seito_No=:PM1, Name=:PM2 Where Name_ID=:PM3",
        {{"pm1", Value(user.pupilNo)}, {"pm2", Value(user.name)}, {"pm3", Value(user.nameId)}});
}

void RemoveUser(Connection& connection, const std::string& nameId) {
    ExecuteRows(connection, "Delete From yoyaku Where Name_ID=:PM1", {{"pm1", Value(nameId)}});
    ExecuteRows(connection, "Delete From Name Where NAME_ID=:PM1", {{"pm1", Value(nameId)}});
}

void ClearPupilNo(Connection& connection, const std::string& nameId) {
    ExecuteRows(connection, "Update Name Set seito_No=:PM1 Where NAME_ID=:PM2",
                {{"pm1", Value()}, {"pm2", Value(nameId)}});
}

const admin::Cells& CellsOf(const std::vector<ListedUser>& listed, const std::string& nameId) {
    for (const auto& user : listed)
        if (user.nameId == nameId) return user.cells;
    throw std::logic_error("a planned user is not in the list");
}

void Write(Connection& connection, const RolloverPlan& plan,
           const std::vector<ListedUser>& listed) {
    // Removals first: a removed user's pupil number may pass to a listed one.
    for (const auto& entry : plan.removed) RemoveUser(connection, entry.before.nameId);
    for (const auto& entry : plan.kept)
        if (entry.after.pupilNo.empty()) ClearPupilNo(connection, entry.before.nameId);
    for (const auto& entry : plan.changes) {
        UpdateUser(connection, CellsOf(listed, entry.after.nameId), entry.after.nameId);
        RenewReservations(connection, entry.after);
    }
    for (const auto& entry : plan.added)
        InsertUser(connection, CellsOf(listed, entry.after.nameId));
}

std::string ProblemText(const RolloverPlan& plan) {
    const auto& first = plan.problems.front();
    return "新年度の名簿に誤りがあります（" + std::to_string(first.line) + "行目: " + first.reason +
           " ほか）。何も変えていません。";
}

}  // namespace

RolloverResult ApplyRollover(const DataPlace& place, std::string_view fileBytes,
                             const std::string& backupFile, const Progress& progress) {
    PlaceConnection connection(place);
    TableHold hold(*connection, {"Name", "kashibo", "yoyaku"}, "年度更新");
    RolloverResult result;
    result.plan = PlanRollover(*connection, fileBytes);
    if (!result.plan.Good()) throw std::runtime_error(ProblemText(result.plan));
    auto nameTable = *connection->DescribeTable("Name");
    auto listed = ReadRolloverList(fileBytes, nameTable, ReadAffiliations(*connection));
    result.backup = MakeBackup(place, backupFile, progress);
    connection->Begin();
    try {
        Write(*connection, result.plan, listed.users);
        connection->Commit(true);
    } catch (...) {
        connection->Rollback();
        throw;
    }
    return result;
}

}  // namespace kashidashi::library
