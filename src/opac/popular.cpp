#include "opac/popular.h"

#include <algorithm>
#include <unordered_map>

#include "library/affiliation.h"
#include "opac/data_rows.h"

namespace kashidashi::opac {

GradeGroup GroupOfGrade(int grade) {
    if (grade == 1 || grade == 2) return GradeGroup::Low;
    if (grade == 3 || grade == 4) return GradeGroup::Middle;
    if (grade == 5 || grade == 6) return GradeGroup::High;
    return GradeGroup::All;
}

namespace {

constexpr size_t kKept = 100;  // works kept per group

// Each user's group, by the grade of their class; staff are in none.
std::unordered_map<std::string, GradeGroup> UserGroups(engine::storage::Connection& data) {
    std::map<int64_t, std::string> classes;
    for (const auto& row : Select(data, "Select SYOZOKU_ID, SYOZOKU From SYOZOKU").rows)
        if (auto code = IntegerOf(row.values[0])) classes[*code] = TextOf(row.values[1]);
    std::unordered_map<std::string, GradeGroup> groups;
    for (const auto& row : Select(data, "Select NAME_ID, syozoku_ID From Name").rows) {
        auto code = IntegerOf(row.values[1]);
        if (!code) continue;
        auto it = classes.find(*code);
        std::string name = it == classes.end() ? std::string() : it->second;
        if (library::IsStaffAffiliation(name)) continue;
        GradeGroup group = GroupOfGrade(library::GradeOfClass(*code, name));
        if (group != GradeGroup::All) groups[TextOf(row.values[0])] = group;
    }
    return groups;
}

}  // namespace

void Popular::Count(engine::storage::Connection& data, const SearchIndex& index, int32_t since) {
    auto loans = Select(data, "Select BOOK_ID, NAME_ID From kashibo Where kashidashibi >= :PM1",
                        {{"pm1", engine::Value(engine::Date{since})}});
    auto groups = UserGroups(data);
    std::vector<int64_t> books;
    for (const auto& row : loans.rows) books.push_back(IntegerOf(row.values[0]).value_or(-1));
    auto works = index.WorksOf(books);

    std::map<GradeGroup, std::map<std::string, int64_t>> lent;
    std::map<GradeGroup, Counts> counts;
    for (size_t i = 0; i < loans.rows.size(); ++i) {
        auto work = works.find(books[i]);
        if (work == works.end()) continue;  // a discarded book, or one not indexed yet
        auto user = groups.find(TextOf(loans.rows[i].values[1]));
        std::vector<GradeGroup> into{GradeGroup::All};
        if (user != groups.end()) into.push_back(user->second);
        for (GradeGroup group : into) {
            ++lent[group][work->second.work];
            ++counts[group].shelfLoans[work->second.shelf];
            ++counts[group].loans;
        }
    }
    std::map<std::string, int64_t> oneCopy;  // a lent copy of each work
    for (const auto& [id, ws] : works) oneCopy.emplace(ws.work, id);
    for (auto& [group, byWork] : lent) {
        std::vector<std::pair<std::string, int64_t>> ranked(byWork.begin(), byWork.end());
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        if (ranked.size() > kKept) ranked.resize(kKept);
        for (const auto& [work, n] : ranked)
            counts[group].ranked.push_back({work, index.CopiesOf(oneCopy[work])});
    }
    std::lock_guard lock(mutex_);
    counts_ = std::move(counts);
}

std::vector<SearchHit> Popular::MostRead(GradeGroup group, int limit) const {
    std::lock_guard lock(mutex_);
    auto it = counts_.find(group);
    if (it == counts_.end()) return {};
    const auto& ranked = it->second.ranked;
    return {ranked.begin(),
            ranked.begin() + std::min<size_t>(ranked.size(), static_cast<size_t>(limit))};
}

std::vector<SearchHit> Popular::NewWorks(const SearchIndex& index, int32_t sinceDay, int limit,
                                         GradeGroup group) const {
    std::vector<int> shelves;
    if (group != GradeGroup::All) {
        std::lock_guard lock(mutex_);
        auto it = counts_.find(group);
        if (it != counts_.end() && it->second.loans > 0)
            for (const auto& [shelf, n] : it->second.shelfLoans)
                if (n * 10 >= it->second.loans) shelves.push_back(shelf);
    }
    return index.NewWorks(sinceDay, limit, shelves);
}

}  // namespace kashidashi::opac
