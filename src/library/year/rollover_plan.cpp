// The plan of the new school year: the checked lists against Name, the open
// loans and the reservations (rollover.h).
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/sql_rows.h"
#include "library/year/rollover.h"
#include "library/year/rollover_count.h"
#include "library/year/rollover_input.h"

namespace kashidashi::library {
namespace {

struct School {
    std::map<int64_t, std::string> classes;
    std::map<std::string, RolloverUser> users;               // by fixed number
    std::map<std::string, std::vector<RolloverLoan>> loans;  // open loans by fixed number
    std::map<std::string, std::vector<RolloverReservation>> reservations;
    std::map<std::string, int> loansOfGone;  // loans on record of fixed numbers Name lacks
};

std::string ClassName(const std::map<int64_t, std::string>& classes, std::optional<int64_t> code) {
    if (!code) return "";
    auto it = classes.find(*code);
    return it != classes.end() ? it->second : std::to_string(*code);
}

void ReadUsers(engine::storage::Connection& connection, School& school) {
    auto rows = SelectRows(connection, "Select NAME_ID, seito_No, NAME, syozoku_ID From Name");
    for (const auto& row : rows.rows) {
        RolloverUser user{
            TextOf(row.values[0]), TextOf(row.values[2]), TextOf(row.values[1]), {}, ""};
        if (!row.values[3].IsNull()) user.classCode = IntegerOf(row.values[3]);
        user.className = ClassName(school.classes, user.classCode);
        if (!user.nameId.empty()) school.users[user.nameId] = std::move(user);
    }
}

void ReadLoans(engine::storage::Connection& connection, School& school) {
    auto rows = SelectRows(connection,
                           "Select kashibo.NAME_ID, kashibo.BOOK_ID, kashibo.kashidashibi,"
                           " kashibo.henkyakuyotei, Book.syomei2, kashibo.kashidashiF From kashibo"
                           " Left Join Book On kashibo.BOOK_ID=Book.BOOK_ID");
    for (const auto& row : rows.rows) {
        const std::string user = TextOf(row.values[0]);
        if (!school.users.count(user)) ++school.loansOfGone[user];
        if (TextOf(row.values[5]) != "1") continue;
        school.loans[user].push_back({IntegerOf(row.values[1]), TextOf(row.values[4]),
                                      DateOf(row.values[2]).value_or(engine::Date{}),
                                      DateOf(row.values[3]).value_or(engine::Date{})});
    }
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

// 301 -> 3年1組, 1002 -> 1年2組; other codes keep their number.
std::string MadeClassName(int64_t code) {
    const int64_t size = code >= 1000 ? 1000 : 100;
    if (code >= 100 && code < 10000 && code % size > 0 && code / size <= 9)
        return std::to_string(code / size) + "年" + std::to_string(code % size) + "組";
    return "所属" + std::to_string(code);
}

// The classes the lists use that SYOZOKU lacks, proposed with a made name.
void ProposeClasses(const std::vector<ListedUser>& listed, School& school, RolloverPlan& plan) {
    for (const auto& user : listed) {
        if (school.classes.count(user.classCode)) continue;
        plan.newClasses.push_back({user.classCode, MadeClassName(user.classCode)});
        school.classes[user.classCode] = plan.newClasses.back().name;
    }
}

// The affiliation 卒業・転出, or a free code for it: one below 100, which
// gives no grade.
RolloverClass LeaversClass(const School& school, bool& make) {
    make = false;
    for (const auto& [code, name] : school.classes)
        if (name == kLeaversClass) return {code, name};
    make = true;
    for (int64_t code = 99; code > 0; --code)
        if (!school.classes.count(code)) return {code, kLeaversClass};
    return {school.classes.rbegin()->first + 1, kLeaversClass};
}

RolloverUser AfterOf(const School& school, const ListedUser& listed) {
    return {listed.nameId, listed.name, listed.pupilNo, listed.classCode,
            ClassName(school.classes, listed.classCode)};
}

void PlaceListed(const School& school, const std::vector<ListedUser>& listed, RolloverPlan& plan) {
    for (const auto& user : listed) {
        RolloverEntry entry{user.file, user.line, {}, AfterOf(school, user), {}};
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

bool IsStaff(const School& school, std::optional<int64_t> code) {
    return code && IsStaffAffiliation(ClassName(school.classes, code));
}

// Users the lists lack: removed, or moved to 卒業・転出 with their books (a
// kept user's pupil number given to a listed user is taken away); their
// reservations go. Staff stay when the lists name no staff at all.
void PlaceMissing(const School& school, const std::vector<ListedUser>& listed, RolloverPlan& plan) {
    std::set<std::string> ids, numbers;
    bool staffListed = false;
    for (const auto& user : listed) {
        ids.insert(user.nameId), numbers.insert(user.pupilNo);
        staffListed = staffListed || IsStaff(school, user.classCode);
    }
    for (const auto& [id, user] : school.users) {
        if (ids.count(id)) continue;
        if (!staffListed && IsStaff(school, user.classCode)) {
            ++plan.staffKept;
            continue;
        }
        auto reservations = school.reservations.find(id);
        if (reservations != school.reservations.end())
            for (const auto& r : reservations->second) plan.reservations.push_back(r);
        RolloverEntry entry{"", 0, user, user, {}};
        auto loans = school.loans.find(id);
        if (loans == school.loans.end()) {
            plan.removed.push_back(std::move(entry));
            continue;
        }
        entry.loans = loans->second;
        entry.after.classCode = plan.leavers.code;
        entry.after.className = plan.leavers.name;
        if (numbers.count(user.pupilNo)) entry.after.pupilNo.clear();
        plan.kept.push_back(std::move(entry));
    }
}

std::string Blankless(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ' ') continue;
        if (name.compare(i, 3, "\u3000") == 0) {
            i += 2;
            continue;
        }
        out += name[i];
    }
    return out;
}

std::vector<std::string> NameParts(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        const bool ideographic = i < name.size() && name.compare(i, 3, "\u3000") == 0;
        if (i == name.size() || name[i] == ' ' || ideographic) {
            if (!part.empty()) parts.push_back(part), part.clear();
            if (ideographic) i += 2;
            continue;
        }
        part += name[i];
    }
    return parts;
}

// Another person, not the same one renamed: neither the family name nor the
// given name stays (Name keeps no reading to tell them apart).
bool AnotherPerson(const std::string& before, const std::string& after) {
    if (Blankless(before) == Blankless(after)) return false;
    auto a = NameParts(before), b = NameParts(after);
    if (a.size() < 2 || b.size() < 2) return true;
    return a.front() != b.front() && a.back() != b.back();
}

void Warn(const School& school, RolloverPlan& plan) {
    for (const auto& entry : plan.changes)
        if (AnotherPerson(entry.before.name, entry.after.name))
            plan.warnings.push_back({entry.after.nameId,
                                     entry.before.name + " → " + entry.after.name,
                                     "名前がすっかり変わります。別の人に同じ固定番号を付けて"
                                     "いませんか"});
    for (const auto& entry : plan.added) {
        auto gone = school.loansOfGone.find(entry.after.nameId);
        if (gone == school.loansOfGone.end()) continue;
        plan.warnings.push_back({entry.after.nameId, entry.after.name,
                                 "削除された利用者が使っていた固定番号です。その貸出の記録 " +
                                     std::to_string(gone->second) +
                                     " 件がこの人の分に数えられます"});
    }
}

}  // namespace

std::string ProblemPlace(const RolloverProblem& problem) {
    return (problem.file.empty() ? "" : problem.file + " ") + std::to_string(problem.line) + "行目";
}

RolloverPlan PlanRollover(engine::storage::Connection& connection,
                          const std::vector<RolloverFile>& files) {
    School school = ReadSchool(connection);
    auto nameTable = connection.DescribeTable("Name");
    if (!nameTable) throw std::runtime_error("Name 表がありません。");
    RolloverPlan plan;
    auto input = ReadRolloverLists(files, *nameTable);
    plan.problems = std::move(input.problems);
    if (!plan.Good()) return plan;
    ProposeClasses(input.users, school, plan);
    plan.leavers = LeaversClass(school, plan.makeLeavers);
    PlaceListed(school, input.users, plan);
    PlaceMissing(school, input.users, plan);
    if (plan.kept.empty()) plan.makeLeavers = false;
    Warn(school, plan);
    std::vector<RolloverUser> everyone;
    for (const auto& [id, user] : school.users) everyone.push_back(user);
    CountByClass(everyone, school.classes, plan);
    return plan;
}

RolloverPlan PlanRollover(engine::storage::Connection& connection, std::string_view fileBytes) {
    return PlanRollover(connection, {RolloverFile{"", std::string(fileBytes)}});
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
