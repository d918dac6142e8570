// Putting the new school year in place (rollover.h): under the hold of the
// tables, after the backup and the ending year's statistics, in one
// transaction.
#include <set>
#include <stdexcept>

#include "engine/common/dates.h"
#include "engine/common/names.h"
#include "library/affiliation.h"
#include "library/backup/desk_presence.h"
#include "library/sql_rows.h"
#include "library/table_hold.h"
#include "library/year/rollover.h"
#include "library/year/rollover_input.h"
#include "library/year/rollover_stats.h"
#include "platform/cp932.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

// The file's columns of a listed user, as SET or INSERT names and parameters.
void UpdateUser(Connection& connection, const exchange::Cells& cells, const std::string& nameId) {
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

void InsertUser(Connection& connection, const exchange::Cells& cells) {
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

void InsertClass(Connection& connection, const RolloverClass& added) {
    ExecuteRows(connection, "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (:PM1, :PM2)",
                {{"pm1", Value(added.code)}, {"pm2", Value(added.name)}});
}

// The desk's 予約更新 for one user: their reservations take the new number and name.
void RenewReservations(Connection& connection, const RolloverUser& user) {
    ExecuteRows(
        connection, "Update yoyaku Set Seito_No=:PM1, Name=:PM2 Where Name_ID=:PM3",
        {{"pm1", Value(user.pupilNo)}, {"pm2", Value(user.name)}, {"pm3", Value(user.nameId)}});
}

void CancelReservations(Connection& connection, const std::string& nameId) {
    ExecuteRows(connection, "Delete From yoyaku Where Name_ID=:PM1", {{"pm1", Value(nameId)}});
}

// The book's reserved flag as the desk sets it: reserved while a reservation
// names the book or (a reservation of the title) its ISBN.
void SetReservedFlag(Connection& connection, int64_t book) {
    auto isbn =
        SelectRows(connection, "Select ISBN From Book Where BOOK_ID=:PM1", {{"pm1", Value(book)}});
    if (isbn.rows.empty()) return;
    const std::string isbn12 = TextOf(isbn.rows[0].values[0]).substr(0, 12);
    auto left = SelectRows(connection,
                           "Select Book_ID From yoyaku Where Book_ID=:PM1 Or (ISBN_ID Is Not Null"
                           " And ISBN_ID=:PM2)",
                           {{"pm1", Value(book)}, {"pm2", Value(isbn12)}});
    ExecuteRows(connection, "Update Book Set yoyakuF=:PM1 Where BOOK_ID=:PM2",
                {{"pm1", Value(!left.rows.empty())}, {"pm2", Value(book)}});
}

void RemoveUser(Connection& connection, const std::string& nameId) {
    ExecuteRows(connection, "Delete From Name Where NAME_ID=:PM1", {{"pm1", Value(nameId)}});
}

void MoveToLeavers(Connection& connection, const RolloverEntry& entry) {
    ExecuteRows(connection, "Update Name Set syozoku_ID=:PM1, seito_No=:PM2 Where NAME_ID=:PM3",
                {{"pm1", Value(*entry.after.classCode)},
                 {"pm2", entry.after.pupilNo.empty() ? Value() : Value(entry.after.pupilNo)},
                 {"pm3", Value(entry.before.nameId)}});
}

const exchange::Cells& CellsOf(const std::vector<ListedUser>& listed, const std::string& nameId) {
    for (const auto& user : listed)
        if (user.nameId == nameId) return user.cells;
    throw std::logic_error("a planned user is not in the list");
}

void Write(Connection& connection, const RolloverPlan& plan,
           const std::vector<ListedUser>& listed) {
    for (const auto& added : plan.newClasses) InsertClass(connection, added);
    if (plan.makeLeavers) InsertClass(connection, plan.leavers);
    std::set<int64_t> books;
    for (const auto& r : plan.reservations) books.insert(r.book);
    // Leavers first: a leaver's pupil number may pass to a listed user.
    for (const auto& entry : plan.removed) {
        CancelReservations(connection, entry.before.nameId);
        RemoveUser(connection, entry.before.nameId);
    }
    for (const auto& entry : plan.kept) {
        CancelReservations(connection, entry.before.nameId);
        MoveToLeavers(connection, entry);
    }
    for (int64_t book : books) SetReservedFlag(connection, book);
    for (const auto& entry : plan.changes) {
        UpdateUser(connection, CellsOf(listed, entry.after.nameId), entry.after.nameId);
        RenewReservations(connection, entry.after);
    }
    for (const auto& entry : plan.added)
        InsertUser(connection, CellsOf(listed, entry.after.nameId));
}

std::string ProblemText(const RolloverPlan& plan) {
    const auto& first = plan.problems.front();
    return "新年度の名簿に誤りがあります（" + ProblemPlace(first) + ": " + first.reason +
           " ほか）。何も変えていません。";
}

std::string AlarmText(const RolloverPlan& plan) {
    std::string text = "この名簿では ";
    for (size_t i = 0; i < plan.alarms.size(); ++i) text += (i ? "、" : "") + plan.alarms[i];
    return text + " がいなくなります（" + RolloverSummary(plan) + "）。何も変えていません。";
}

// The names the operator gave the new classes, checked as SYOZOKU holds them.
void NameClasses(RolloverPlan& plan, const std::map<int64_t, std::string>& names) {
    for (auto& added : plan.newClasses) {
        auto given = names.find(added.code);
        if (given != names.end()) added.name = given->second;
        const std::string code = std::to_string(added.code);
        if (added.name.empty()) throw std::runtime_error("所属 " + code + " の名前が空です。");
        if (!FirstCharacterCp932Lacks(added.name).empty() ||
            platform::Cp932ByteLength(added.name) > 20)
            throw std::runtime_error("所属 " + code + " の名前「" + added.name +
                                     "」は所属に書けません（全角 10 文字まで）。");
    }
}

}  // namespace

RolloverResult ApplyRollover(const DataPlace& place, const std::vector<RolloverFile>& files,
                             const std::string& backupFile, const RolloverOptions& options) {
    PlaceConnection connection(place);
    RefuseWhileDesksOpen(*connection, "年度更新");
    TableHold hold(*connection, {"Name", "kashibo", "yoyaku"}, "年度更新");
    RolloverResult result;
    result.plan = PlanRollover(*connection, files);
    if (!result.plan.Good()) throw std::runtime_error(ProblemText(result.plan));
    if (!result.plan.alarms.empty() && !options.allowRemovals)
        throw std::runtime_error(AlarmText(result.plan));
    NameClasses(result.plan, options.classNames);
    auto nameTable = *connection->DescribeTable("Name");
    auto listed = ReadRolloverLists(files, nameTable);
    result.backup = MakeBackup(place, backupFile, options.progress);
    result.statsFolder = SaveYearStats(*connection, backupFile,
                                       options.today.value_or(engine::Today()), options.school)
                             .folder;
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
