// The backup folder's names and retention: the 14 newest automatic backups
// and the first of each of the 12 newest months are kept, every other
// automatic one goes, and backups made on demand or before a restore stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/common/dates.h"
#include "library/backup/backup_folder.h"

namespace library_test {
namespace {

using namespace kashidashi::library;

std::vector<std::string> Days(engine::Date first, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(DailyBackupName(engine::Date{first.days + i}));
    return names;
}

TEST(BackupNames, DailyNamesAndTheirDays) {
    struct Case {
        const char* name;
        bool daily;
    };
    const Case cases[] = {
        {"kashidashi-20261210.kxbak", true},
        {"kashidashi-20261210-081500.kxbak", false},
        {"kashidashi-before-restore-20261210-081500.kxbak", false},
        {"kashidashi-20261310.kxbak", false},
        {"kashidashi-2026121.kxbak", false},
        {"kashidashi-20261210.db", false},
        {"other-20261210.kxbak", false},
    };
    for (const auto& c : cases) EXPECT_EQ(DailyBackupDay(c.name).has_value(), c.daily) << c.name;
    EXPECT_EQ(DailyBackupName(engine::MakeDate(2026, 12, 10)), "kashidashi-20261210.kxbak");
    EXPECT_EQ(*DailyBackupDay("kashidashi-20260401.kxbak"), engine::MakeDate(2026, 4, 1));
    EXPECT_EQ(OnDemandBackupName(engine::MakeDateTime(engine::MakeDate(2026, 12, 10), 8, 5, 9)),
              "kashidashi-20261210-080509.kxbak");
}

TEST(BackupRetention, FourteenDailyAndTheFirstOfTwelveMonths) {
    struct Case {
        const char* what;
        engine::Date first;
        int days;
        size_t kept;
    };
    const Case cases[] = {
        {"fewer than fourteen", engine::MakeDate(2026, 3, 1), 10, 10},
        {"forty days from January", engine::MakeDate(2026, 1, 1), 40, 14 + 1},  // + Jan 1
        {"two years", engine::MakeDate(2025, 1, 1), 730, 14 + 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto names = Days(c.first, c.days);
        names.push_back("kashidashi-20200101-090000.kxbak");  // on demand: never removed
        auto removed = RetentionRemoves(names);
        EXPECT_EQ(names.size() - removed.size(), c.kept + 1);
        std::set<std::string> gone(removed.begin(), removed.end());
        for (int i = 0; i < std::min(c.days, kDailyKept); ++i)
            EXPECT_EQ(gone.count(names[c.days - 1 - i]), 0u);  // the newest stay
        EXPECT_EQ(gone.count("kashidashi-20200101-090000.kxbak"), 0u);
    }
    auto twoYears = RetentionRemoves(Days(engine::MakeDate(2025, 1, 1), 730));
    std::set<std::string> gone(twoYears.begin(), twoYears.end());
    EXPECT_EQ(gone.count("kashidashi-20260101.kxbak"), 0u);  // a month's first
    EXPECT_EQ(gone.count("kashidashi-20260102.kxbak"), 1u);
    EXPECT_EQ(gone.count("kashidashi-20251201.kxbak"), 1u);  // the thirteenth month back
}

}  // namespace
}  // namespace library_test
