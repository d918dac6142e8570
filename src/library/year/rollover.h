// The new school year: the new year's class list (the CSV file of
// kashidashi-admin import-users: a header naming Name's columns, at least
// NAME_ID, seito_No, NAME and syozoku_ID, then one line per user; one file
// for the whole school or one per class, read together) compared with Name,
// and then put in place.
//
// The plan says, without changing anything:
//   - changes: listed users whose class, pupil number or name differ;
//   - added: listed users that Name lacks;
//   - removed: users of Name the lists lack who have no open loan;
//   - kept: users the lists lack who still have books out: they stay, moved
//     to the affiliation 卒業・転出 (made when missing) with their books
//     listed for follow-up; one whose pupil number a listed user takes loses
//     it (the desk finds users by pupil number). A later run removes those
//     of 卒業・転出 whose books have all come back;
//   - reservations: every reservation of a user who leaves (removed or
//     kept) is cancelled, and the reserved flag of its book set again as the
//     desk sets it (reserved while a reservation names the book or its ISBN);
//   - staff (users of a staff affiliation) stay as they are when the lists
//     name no staff at all;
//   - newClasses: class codes the lists use and SYOZOKU lacks, with a name
//     made from the code, added when the plan is applied;
//   - warnings: a fixed number the list gives to another person, a new
//     fixed number that a deleted user had used (their loans are on record);
//   - alarms: a whole class, a whole grade or the whole staff leaving, or
//     more than a tenth of the users: applying needs a second yes.
// Bad input is listed by file and line and refuses the whole plan: a UTF-16
// file (one problem), a file that is neither UTF-8 nor Shift-JIS, whatever
// import-users refuses, a missing required column, an empty or too long
// pupil number, a pupil or fixed number twice (across the files too), a text
// that code page 932 cannot hold or longer than its column, a list of
// nobody. Full-width digits count as digits in numbers.
//
// Applying holds Name, kashibo and yoyaku for its own (refused while a desk
// uses one), plans again from what they hold now, makes the backup, then
// writes everything in one transaction. The loan history (kashibo) is never
// touched: each loan keeps its NAME_ID and the pupil number it was made with.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"
#include "library/backup/backup.h"
#include "library/data_place.h"

namespace kashidashi::library {

inline constexpr const char* kLeaversClass = "卒業・転出";

// One class list: its name as the operator knows it (for the problems'
// places) and its bytes.
struct RolloverFile {
    std::string name;
    std::string bytes;
};

struct RolloverUser {
    std::string nameId, name, pupilNo;
    std::optional<int64_t> classCode;
    std::string className;
};

struct RolloverLoan {
    int64_t book = 0;
    std::string title;
    engine::Date lentOn, due;
};

struct RolloverEntry {
    std::string file;                 // the list it comes from (listed users)
    int line = 0;                     // of the file; 0 for users the lists lack
    RolloverUser before;              // as Name has it (empty for an added user)
    RolloverUser after;               // as the list gives it (kept users: what stays)
    std::vector<RolloverLoan> loans;  // kept users: the books still out
};

struct RolloverReservation {
    int64_t book = 0;
    std::string title, nameId, name;
    engine::Date reservedOn;
};

struct RolloverProblem {
    int line = 0;
    std::string reason;
    std::string file;  // empty when only one list is read
};

struct RolloverWarning {
    std::string nameId, name, text;  // name: "old → new" or the newcomer's
};

struct RolloverClass {
    int64_t code = 0;
    std::string name;
};

// A class's part of the plan: users leaving from it, staying in it, changed
// into it and arriving in it.
struct RolloverClassCount {
    std::optional<int64_t> code;
    std::string name;
    int before = 0;  // its users now
    int leave = 0, stay = 0, change = 0, arrive = 0;
};

struct RolloverPlan {
    std::vector<RolloverProblem> problems;  // in file and line order; any one refuses
    std::vector<RolloverEntry> changes, added, removed, kept;
    std::vector<RolloverReservation> reservations;  // of the users who leave
    std::vector<RolloverClass> newClasses;
    std::vector<RolloverWarning> warnings;
    std::vector<RolloverClassCount> classes;  // in code order, classes without a code last
    std::vector<std::string> alarms;          // why applying needs a second yes
    RolloverClass leavers;                    // the affiliation 卒業・転出
    bool makeLeavers = false;                 // SYOZOKU lacks it and a kept user needs it
    int unchanged = 0;
    int staffKept = 0;  // staff the lists do not name, staying as they are
    int usersBefore = 0;
    bool Good() const { return problems.empty(); }
    int Leaving() const { return static_cast<int>(removed.size() + kept.size()); }
};

// Reads Name, SYOZOKU, kashibo and yoyaku; throws EngineError when a table
// is missing.
RolloverPlan PlanRollover(engine::storage::Connection& connection,
                          const std::vector<RolloverFile>& files);
RolloverPlan PlanRollover(engine::storage::Connection& connection, std::string_view fileBytes);

// "去る 3 人（削除 2、卒業・転出へ 1）、残る 10 人、変わる 5 人、来る 1 人"
std::string RolloverSummary(const RolloverPlan& plan);
// The classes touched: "1年1組 去る 3・変わる 1／2年1組 来る 4"
std::string RolloverClassSummary(const RolloverPlan& plan);

struct RolloverOptions {
    std::map<int64_t, std::string> classNames;  // names of new classes, over the made ones
    bool allowRemovals = false;                 // the second yes to the plan's alarms
    Progress progress;
    std::string school;                 // the school's name on the statistics' prints
    std::optional<engine::Date> today;  // which school year ends; today when none
};

struct RolloverResult {
    RolloverPlan plan;  // as applied
    BackupSummary backup;
    std::string statsFolder;  // the ending year's statistics (rollover_stats.h)
};

// Throws std::runtime_error (nothing changed) for a plan with problems, a
// plan with alarms without allowRemovals, a bad class name, a table a desk
// uses, a backup that fails; a failure while writing rolls everything back
// and is rethrown.
RolloverResult ApplyRollover(const DataPlace& place, const std::vector<RolloverFile>& files,
                             const std::string& backupFile, const RolloverOptions& options);

// kashidashi-before-rollover-YYYYMMDD-HHMMSS.kxbak
std::string RolloverBackupName(engine::DateTime moment);

// "3行目" or "2年1組.csv 3行目" when several lists are read.
std::string ProblemPlace(const RolloverProblem& problem);

// The plan as a table: a title row, then one row per warning (注意), new
// class (所属追加), change, added, removed, kept user and cancelled
// reservation (kinds 変更, 新規, 削除, 卒業・転出, 予約取消), in that order.
// A value that changes shows "old → new".
std::vector<std::string> RolloverTitles();
std::vector<std::vector<std::string>> RolloverRows(const RolloverPlan& plan);

}  // namespace kashidashi::library
