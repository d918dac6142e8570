// The plan of the new school year: the checked list against Name, the open
// loans and the reservations (rollover.h).
#include <cstdio>
#include <map>
#include <set>

#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/rollover.h"
#include "library/rollover_input.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

struct School {
    std::map<int64_t, std::string> classes;
    std::map<std::string, RolloverUser> users;               // by fixed number
    std::map<std::string, std::vector<RolloverLoan>> loans;  // open loans by fixed number
    std::map<std::string, std::vector<RolloverReservation>> reservations;
};

std::string ClassName(const School& school, std::optional<int64_t> code) {
    if (!code) return "";
    auto it = school.classes.find(*code);
    return it != school.classes.end() ? it->second : std::to_string(*code);
}

void ReadUsers(engine::storage::Connection& connection, School& school) {
    auto rows = SelectRows(connection, "Select NAME_ID, seito_No, NAME, syozoku_ID From Name");
    for (const auto& row : rows.rows) {
        RolloverUser user{
            TextOf(row.values[0]), TextOf(row.values[2]), TextOf(row.values[1]), {}, ""};
        if (!row.values[3].IsNull()) user.classCode = IntegerOf(row.values[3]);
        user.className = ClassName(school, user.classCode);
        if (!user.nameId.empty()) school.users[user.nameId] = std::move(user);
    }
}

void ReadLoans(engine::storage::Connection& connection, School& school) {
    auto rows = SelectRows(connection,
                           "Select kashibo.NAME_ID, kashibo.BOOK_ID, kashibo.kashidashibi,"
                           " kashibo.henkyakuyotei, Book.syomei2 From kashibo"
                           " Left Join Book On kashibo.BOOK_ID=Book.BOOK_ID"
                           " Where kashibo.kashidashiF='1'");
    for (const auto& row : rows.rows)
        school.loans[TextOf(row.values[0])].push_back(
            {IntegerOf(row.values[1]), TextOf(row.values[4]),
             DateOf(row.values[2]).value_or(engine::Date{}),
             DateOf(row.values[3]).value_or(engine::Date{})});
}

void ReadReservations(engine::storage::Connection& connection, School& school) {
    auto rows = SelectRows(connection,
                           "Select yoyaku.Book_ID, yoyaku.Name_ID, yoyaku.Name, yoyaku.yoyakubi,"
                           " Book.syomei2 From yoyaku Left Join Book On yoyaku.Book_ID=Book.BOOK_ID"
                           " Order By yoyaku.Book_ID, yoyaku.yoyaku_No");
    for (const auto& row : rows.rows)
        school.reservations[TextOf(row.values[1])].push_back(
            {IntegerOf(row.values[0]), TextOf(row.values[4]), TextOf(row.values[1]),
             TextOf(row.values[2]), DateOf(row.values[3]).value_or(engine::Date{})});
}

School ReadSchool(engine::storage::Connection& connection) {
    School school;
    school.classes = ReadAffiliations(connection);
    ReadUsers(connection, school);
    ReadLoans(connection, school);
    ReadReservations(connection, school);
    return school;
}

RolloverUser AfterOf(const School& school, const ListedUser& listed) {
    return {listed.nameId, listed.name, listed.pupilNo, listed.classCode,
            ClassName(school, listed.classCode)};
}

void PlaceListed(const School& school, const std::vector<ListedUser>& listed, RolloverPlan& plan) {
    for (const auto& user : listed) {
        RolloverEntry entry{user.line, {}, AfterOf(school, user), {}};
        auto it = school.users.find(user.nameId);
        if (it == school.users.end()) {
            plan.added.push_back(std::move(entry));
            continue;
        }
        entry.before = it->second;
        const bool same = entry.before.pupilNo == entry.after.pupilNo &&
                          entry.before.classCode == entry.after.classCode &&
                          entry.before.name == entry.after.name;
        if (same)
            ++plan.unchanged;
        else
            plan.changes.push_back(std::move(entry));
    }
}

// Users the list lacks: removed with their reservations, or kept with their
// books (a kept user's pupil number given to a listed user is taken away).
void PlaceMissing(const School& school, const std::vector<ListedUser>& listed, RolloverPlan& plan) {
    std::set<std::string> ids, numbers;
    for (const auto& user : listed) ids.insert(user.nameId), numbers.insert(user.pupilNo);
    for (const auto& [id, user] : school.users) {
        if (ids.count(id)) continue;
        RolloverEntry entry{0, user, user, {}};
        auto loans = school.loans.find(id);
        if (loans == school.loans.end()) {
            auto reservations = school.reservations.find(id);
            if (reservations != school.reservations.end())
                for (const auto& r : reservations->second) plan.reservations.push_back(r);
            plan.removed.push_back(std::move(entry));
            continue;
        }
        entry.loans = loans->second;
        if (numbers.count(user.pupilNo)) entry.after.pupilNo.clear();
        plan.kept.push_back(std::move(entry));
    }
}

}  // namespace

RolloverPlan PlanRollover(engine::storage::Connection& connection, std::string_view fileBytes) {
    School school = ReadSchool(connection);
    auto nameTable = connection.DescribeTable("Name");
    if (!nameTable) throw std::runtime_error("Name 表がありません。");
    RolloverPlan plan;
    auto input = ReadRolloverList(fileBytes, *nameTable, school.classes);
    plan.problems = std::move(input.problems);
    if (!plan.Good()) return plan;
    PlaceListed(school, input.users, plan);
    PlaceMissing(school, input.users, plan);
    return plan;
}

std::string RolloverBackupName(engine::DateTime moment) {
    auto day = engine::ToCivil(engine::DatePart(moment));
    const auto seconds = (moment.msecs % engine::kMsecsPerDay) / 1000;
    char name[80];
    std::snprintf(name, sizeof name, "kashidashi-before-rollover-%04d%02d%02d-%02d%02d%02d.kxbak",
                  day.year, day.month, day.day, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return name;
}

}  // namespace kashidashi::library
