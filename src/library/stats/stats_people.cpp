// The views of the statistics that count people's loans by class or grade
// (stats.h, stats_people.h).
#include "library/stats/stats_people.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "library/affiliation.h"
#include "library/stats/stats_read.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;

StatsGroups GroupsFor(Connection& c, bool grades) {
    auto affiliations = ReadAffiliations(c);
    return grades ? GradeGroups(affiliations) : ClassGroups(affiliations);
}

// The group of a borrower (所属なし when gone from Name).
size_t GroupOfUser(const StatsGroups& groups,
                   const std::unordered_map<std::string, StatsUser>& users, const std::string& id) {
    auto it = users.find(id);
    return it == users.end() ? groups.NoClass() : groups.Of(it->second.code);
}

// The users of Name in each group.
std::vector<int64_t> UsersPerGroup(const StatsGroups& groups,
                                   const std::unordered_map<std::string, StatsUser>& users) {
    std::vector<int64_t> counts(groups.labels.size());
    for (const auto& [id, user] : users) ++counts[groups.Of(user.code)];
    return counts;
}

}  // namespace

std::vector<StatsRow> LoansPerGroup(Connection& c, engine::Date from, engine::Date to,
                                    bool grades) {
    const auto groups = GroupsFor(c, grades);
    const auto users = StatsUsers(c);
    std::vector<int64_t> counts(groups.labels.size());
    for (const auto& id : LoanUsers(c, from, to)) ++counts[GroupOfUser(groups, users, id)];
    std::vector<StatsRow> rows;
    for (size_t i = 0; i < groups.labels.size(); ++i)
        if (i != groups.NoClass() || counts[i]) rows.push_back({groups.labels[i], counts[i]});
    return rows;
}

std::vector<StatsRow> UsersWhoBorrowed(Connection& c, engine::Date from, engine::Date to) {
    const auto groups = GroupsFor(c, false);
    const auto users = StatsUsers(c);
    const auto all = UsersPerGroup(groups, users);
    std::vector<int64_t> borrowers(groups.labels.size());
    std::set<std::string> seen;
    for (auto& id : LoanUsers(c, from, to))
        if (users.count(id) && seen.insert(id).second)  // users of Name only, once
            ++borrowers[GroupOfUser(groups, users, id)];
    std::vector<StatsRow> rows;
    for (size_t i = 0; i < groups.labels.size(); ++i) {
        if (i == groups.NoClass() && !all[i]) continue;
        StatsRow row{groups.labels[i], borrowers[i], all[i]};
        row.rate = all[i] ? 100.0 * borrowers[i] / all[i] : 0;
        rows.push_back(row);
    }
    return rows;
}

std::vector<StatsRow> LoansPerUser(Connection& c, engine::Date from, engine::Date to, bool grades) {
    const auto groups = GroupsFor(c, grades);
    const auto users = StatsUsers(c);
    const auto all = UsersPerGroup(groups, users);
    std::vector<int64_t> loans(groups.labels.size());
    for (const auto& id : LoanUsers(c, from, to)) ++loans[GroupOfUser(groups, users, id)];
    std::vector<StatsRow> rows;
    for (size_t i = 0; i < groups.labels.size(); ++i) {
        if (i == groups.NoClass() && !all[i] && !loans[i]) continue;
        StatsRow row{groups.labels[i], loans[i], all[i]};
        row.rate = all[i] ? static_cast<double>(loans[i]) / all[i] : 0;
        rows.push_back(row);
    }
    return rows;
}

std::vector<StatsRow> MostReaders(Connection& c, engine::Date from, engine::Date to, bool grades) {
    const auto groups = GroupsFor(c, grades);
    const auto users = StatsUsers(c);
    std::unordered_map<std::string, int64_t> loans;
    for (const auto& id : LoanUsers(c, from, to))
        if (users.count(id)) ++loans[id];  // a borrower gone from Name is not named
    // Readers by group, most loans first, then by pupil number.
    std::vector<std::tuple<size_t, int64_t, std::string, std::string>> readers;
    for (const auto& [id, count] : loans) {
        const auto& user = users.at(id);
        readers.emplace_back(groups.Of(user.code), -count, user.pupilNo, id);
    }
    std::sort(readers.begin(), readers.end());
    const int keep = grades ? kReadersPerGrade : kReadersPerClass;
    std::vector<StatsRow> rows;
    size_t group = SIZE_MAX;
    int placed = 0;
    for (const auto& [g, negative, pupilNo, id] : readers) {
        if (g != group) group = g, placed = 0;
        ++placed;
        const bool tied =
            !rows.empty() && rows.back().key == groups.labels[g] && rows.back().count == -negative;
        if (placed > keep && !tied) continue;
        StatsRow row{groups.labels[g], -negative};
        row.rank = tied ? rows.back().rank : placed;
        const std::string& name = users.at(id).name;
        row.reader = name.empty() ? pupilNo : pupilNo + " " + name;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace kashidashi::library
