// Writing the roll: a new user, a changed one, another class, a leaver, a
// deletion.
#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/connection_transaction.h"
#include "library/holdings/columns.h"
#include "library/holdings/own_tables.h"
#include "library/holdings/reserved_flag.h"
#include "library/holdings/roll.h"
#include "library/holdings/row_lock.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

// A book number as the desk shows it: seven digits at least.
std::string BookNumberText(int64_t number) {
    std::string digits = std::to_string(number);
    return digits.size() < 7 ? std::string(7 - digits.size(), '0') + digits : digits;
}

void Require(const UserCheck& check) {
    if (check.problems.empty()) return;
    std::string text;
    for (const auto& problem : check.problems) text += (text.empty() ? "" : "\n") + problem;
    throw Refused(text);
}

Value TextValue(const std::string& text) {
    return text.empty() ? Value() : Value(text);
}

// The columns of a user as stored, by Name's spelling.
ColumnChanges ColumnsOf(const engine::storage::TableSchema& layout, const RollUser& user) {
    return {
        {"seito_No", TextValue(user.pupilNo)},
        {"NAME", TextValue(user.name)},
        {"syozoku_ID", user.classCode ? Value(*user.classCode) : Value()},
        {"sex", ColumnValue(layout, "sex", user.sex)},
        {"Seito_NO2", TextValue(user.pupilNo2)},
        {"PostNo", TextValue(user.postNo)},
        {"Adress", TextValue(user.address)},
        {"Tel", TextValue(user.tel)},
    };
}

// The affiliation 卒業・転出, made when SYOZOKU lacks it: a free code below
// 100 (no grade), as the year change makes it.
int64_t LeaversClass(Connection& connection) {
    const auto classes = ReadAffiliations(connection);
    for (const auto& [code, name] : classes)
        if (name == kLeaversClassName) return code;
    int64_t code = 99;
    while (code > 0 && classes.count(code)) --code;
    if (code == 0) code = classes.rbegin()->first + 1;
    ExecuteRows(connection, "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (:PM1, :PM2)",
                {{"pm1", Value(code)}, {"pm2", Value(kLeaversClassName)}});
    return code;
}

void CancelReservations(Connection& connection, const std::string& nameId) {
    auto reserved = ReservationsOf(connection, nameId);
    ExecuteRows(connection, "Delete From yoyaku Where Name_ID=:PM1", {{"pm1", Value(nameId)}});
    for (const auto& r : reserved) SetReservedFlag(connection, r.book);
}

}  // namespace

void AddUser(Connection& connection, const RollUser& user) {
    Require(CheckUser(connection, user, std::nullopt));
    const auto layout = LayoutOf(connection, "Name");
    std::string columns = "NAME_ID, mihenkyakuSU", values = ":id, 0";
    SqlParams params{{"id", Value(user.nameId)}};
    int i = 0;
    for (const auto& change : ColumnsOf(layout, user)) {
        const std::string name = "p" + std::to_string(i++);
        columns += ", " + change.column;
        values += ", :" + name;
        params[name] = change.value;
    }
    ExecuteRows(connection, "Insert Into Name (" + columns + ") Values (" + values + ")", params);
}

void EditUser(Connection& connection, const RollUser& after) {
    auto before = ReadUser(connection, after.nameId);
    if (!before) throw Refused("固定番号 " + after.nameId + " の利用者はもういません");
    Require(CheckUser(connection, after, before));
    const auto layout = LayoutOf(connection, "Name");
    const auto was = ColumnsOf(layout, *before), now = ColumnsOf(layout, after);
    ColumnChanges changes;
    for (size_t i = 0; i < now.size(); ++i)
        if (!(now[i].value == was[i].value)) changes.push_back(now[i]);
    WriteColumns(connection, "Name", "NAME_ID", Value(after.nameId), changes);
    // A reservation shows the name and pupil number it was made with; the
    // desk's lists read them from there.
    if (before->pupilNo != after.pupilNo || before->name != after.name)
        ExecuteRows(connection, "Update yoyaku Set Seito_No=:PM1, Name=:PM2 Where Name_ID=:PM3",
                    {{"pm1", TextValue(after.pupilNo)},
                     {"pm2", TextValue(after.name)},
                     {"pm3", Value(after.nameId)}});
}

void MoveUser(Connection& connection, const std::string& nameId, int64_t classCode) {
    auto user = ReadUser(connection, nameId);
    if (!user) throw Refused("固定番号 " + nameId + " の利用者はいません");
    user->classCode = classCode;
    EditUser(connection, *user);
}

void MarkLeft(Connection& connection, const std::string& nameId, engine::Date day) {
    if (!ReadUser(connection, nameId)) throw Refused("固定番号 " + nameId + " の利用者はいません");
    EnsureOwnTable(connection, kLeftTable);
    ConnectionTransaction transaction(connection);
    const int64_t leavers = LeaversClass(connection);
    WriteColumns(connection, "Name", "NAME_ID", Value(nameId),
                 {{"syozoku_ID", Value(leavers)}, {"seito_No", Value()}});
    CancelReservations(connection, nameId);
    ExecuteRows(connection, std::string("Delete From ") + kLeftTable + " Where NAME_ID=:PM1",
                {{"pm1", Value(nameId)}});
    ExecuteRows(
        connection,
        std::string("Insert Into ") + kLeftTable + " (NAME_ID, LEFT_ON) Values (:PM1, :PM2)",
        {{"pm1", Value(nameId)}, {"pm2", Value(day)}});
    transaction.Commit();
}

std::optional<std::string> DeleteRefusal(Connection& connection, const RollUser& user) {
    auto loans = OpenLoans(connection, user.nameId);
    if (loans.empty()) return std::nullopt;
    std::string text = user.name + " さんは本を " + std::to_string(loans.size()) +
                       " 冊借りているので削除できません（返却されてから削除するか、"
                       "卒業・転出にしてください）:";
    for (const auto& loan : loans) text += "\n  " + BookNumberText(loan.book) + " " + loan.title;
    return text;
}

void DeleteUser(Connection& connection, const std::string& nameId) {
    auto user = ReadUser(connection, nameId);
    if (!user) throw Refused("固定番号 " + nameId + " の利用者はいません");
    ConnectionTransaction transaction(connection);
    WithRowLocked(connection, "Name", "NAME_ID", Value(nameId), [&] {
        if (auto refusal = DeleteRefusal(connection, *user)) throw Refused(*refusal);
        CancelReservations(connection, nameId);
        ExecuteRows(connection, "Delete From Name Where NAME_ID=:PM1", {{"pm1", Value(nameId)}});
        if (HasOwnTable(connection, kLeftTable))
            ExecuteRows(connection,
                        std::string("Delete From ") + kLeftTable + " Where NAME_ID=:PM1",
                        {{"pm1", Value(nameId)}});
    });
    transaction.Commit();
}

}  // namespace kashidashi::library::holdings
