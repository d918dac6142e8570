#include "library/year/rollover_count.h"

#include <set>

#include "library/affiliation.h"

namespace kashidashi::library {
namespace {

using Key = std::optional<int64_t>;

struct Counter {
    const std::map<int64_t, std::string>& classes;
    std::map<Key, RolloverClassCount> counts;

    RolloverClassCount& At(Key code) {
        auto& count = counts[code];
        count.code = code;
        if (count.name.empty()) {
            auto it = code ? classes.find(*code) : classes.end();
            count.name = it != classes.end() ? it->second
                         : code              ? std::to_string(*code)
                                             : "所属なし";
        }
        return count;
    }
};

std::string People(int count) {
    return std::to_string(count) + " 人";
}

bool Staff(const RolloverClassCount& count) {
    return IsStaffAffiliation(count.name);
}

void Alarm(const RolloverPlan& plan, std::vector<std::string>& alarms) {
    std::map<int, std::pair<int, int>> grades;  // grade -> users now, leaving
    std::pair<int, int> staff, school;
    std::vector<const RolloverClassCount*> whole;
    for (const auto& count : plan.classes) {
        if (count.name == kLeaversClass) continue;
        school.first += count.before, school.second += count.leave;
        if (Staff(count)) {
            staff.first += count.before, staff.second += count.leave;
            continue;
        }
        if (count.before > 0 && count.leave == count.before) whole.push_back(&count);
        const int grade = count.code ? GradeOfClass(*count.code, count.name) : 0;
        if (grade <= 0) continue;
        grades[grade].first += count.before, grades[grade].second += count.leave;
    }
    std::set<int> wholeGrades;
    for (const auto& [grade, users] : grades)
        if (users.first > 0 && users.second == users.first) {
            wholeGrades.insert(grade);
            alarms.push_back(std::to_string(grade) + "年の全員（" + People(users.first) + "）");
        }
    for (const auto* count : whole)
        if (!wholeGrades.count(GradeOfClass(count->code.value_or(0), count->name)) ||
            GradeOfClass(count->code.value_or(0), count->name) <= 0)
            alarms.push_back(count->name + "の全員（" + People(count->before) + "）");
    if (staff.first > 0 && staff.second == staff.first)
        alarms.push_back("職員の全員（" + People(staff.first) + "）");
    if (school.second * 10 > school.first)
        alarms.push_back("利用者の 1 割を超える " + People(school.second) + "（全 " +
                         People(school.first) + "）");
}

}  // namespace

void CountByClass(const std::vector<RolloverUser>& everyone,
                  const std::map<int64_t, std::string>& classes, RolloverPlan& plan) {
    Counter counter{classes, {}};
    std::set<std::string> leaving, changed;
    for (const auto& entry : plan.removed) leaving.insert(entry.before.nameId);
    for (const auto& entry : plan.kept) leaving.insert(entry.before.nameId);
    for (const auto& entry : plan.changes) {
        changed.insert(entry.before.nameId);
        ++counter.At(entry.after.classCode).change;
    }
    for (const auto& entry : plan.added) ++counter.At(entry.after.classCode).arrive;
    for (const auto& user : everyone) {
        auto& count = counter.At(user.classCode);
        ++count.before;
        if (leaving.count(user.nameId))
            ++count.leave;
        else if (!changed.count(user.nameId))
            ++count.stay;
    }
    plan.usersBefore = static_cast<int>(everyone.size());
    plan.classes.clear();
    for (auto& [code, count] : counter.counts)
        if (code) plan.classes.push_back(std::move(count));
    if (counter.counts.count(std::nullopt))
        plan.classes.push_back(std::move(counter.counts[std::nullopt]));
    plan.alarms.clear();
    Alarm(plan, plan.alarms);
}

std::string RolloverSummary(const RolloverPlan& plan) {
    return "去る " + People(plan.Leaving()) + "（削除 " + std::to_string(plan.removed.size()) +
           "、" + kLeaversClass + "へ " + std::to_string(plan.kept.size()) + "）、残る " +
           People(plan.unchanged + plan.staffKept) + "、変わる " +
           People(static_cast<int>(plan.changes.size())) + "、来る " +
           People(static_cast<int>(plan.added.size())) + "（予約の取消 " +
           std::to_string(plan.reservations.size()) + " 件）";
}

std::string RolloverClassSummary(const RolloverPlan& plan) {
    std::string text;
    for (const auto& count : plan.classes) {
        if (!count.leave && !count.change && !count.arrive) continue;
        std::string part;
        auto add = [&](const char* what, int n) {
            if (n) part += (part.empty() ? "" : "・") + std::string(what) + " " + std::to_string(n);
        };
        add("去る", count.leave);
        add("残る", count.stay);
        add("変わる", count.change);
        add("来る", count.arrive);
        text += (text.empty() ? "" : "／") + count.name + " " + part;
    }
    return text;
}

}  // namespace kashidashi::library
