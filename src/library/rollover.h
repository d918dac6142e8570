// The new school year: the new year's class list (the CSV file of
// kashidashi-admin import-users: a header naming Name's columns, at least
// NAME_ID, seito_No, NAME and syozoku_ID, then one line per user) compared
// with Name, and then put in place.
//
// The plan says, without changing anything:
//   - changes: listed users whose class, pupil number or name differ;
//   - added: listed users that Name lacks;
//   - removed: users of Name the list lacks and who have no open loan;
//     their reservations go with them (listed);
//   - kept: users the list lacks who still have books out: they stay, with
//     their books listed for follow-up; one whose pupil number a listed
//     user takes loses it (the desk finds users by pupil number).
// Bad input is listed by line and makes the whole plan refused: a file that
// is neither UTF-8 nor Shift-JIS, whatever import-users refuses (a column
// Name lacks, a value that does not convert, a fixed number twice), a
// missing required column, an empty or too long pupil number, a pupil
// number twice, a class code SYOZOKU does not have, a list of nobody.
//
// Applying holds Name, kashibo and yoyaku for its own (refused while a desk
// uses one), plans again from what they hold now, makes the backup, then
// writes everything in one transaction: the listed users' columns, the new
// users (no books out), the removals with their reservations, and each
// remaining reservation of a changed user takes the user's new pupil number
// and name (the desk's 予約更新 rule). The loan history (kashibo) is never
// touched: each loan keeps its NAME_ID and the pupil number it was made with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"
#include "library/backup.h"
#include "library/data_place.h"

namespace kashidashi::library {

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
    int line = 0;                     // of the file; 0 for users the file lacks
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
};

struct RolloverPlan {
    std::vector<RolloverProblem> problems;  // in line order; any one refuses the plan
    std::vector<RolloverEntry> changes, added, removed, kept;
    std::vector<RolloverReservation> reservations;  // of the removed users
    int unchanged = 0;
    bool Good() const { return problems.empty(); }
};

// Reads Name, SYOZOKU, the open loans and the reservations; throws
// EngineError when a table is missing.
RolloverPlan PlanRollover(engine::storage::Connection& connection, std::string_view fileBytes);

struct RolloverResult {
    RolloverPlan plan;  // as applied
    BackupSummary backup;
};

// Throws std::runtime_error (nothing changed) for a plan with problems, a
// table a desk uses, a backup that fails; a failure while writing rolls
// everything back and is rethrown.
RolloverResult ApplyRollover(const DataPlace& place, std::string_view fileBytes,
                             const std::string& backupFile, const Progress& progress = {});

// kashidashi-before-rollover-YYYYMMDD-HHMMSS.kxbak
std::string RolloverBackupName(engine::DateTime moment);

// The plan as a table: a title row, then one row per change, added,
// removed, kept user and removed reservation (kinds 変更, 新規, 削除, 残す,
// 予約削除), in that order.
std::vector<std::string> RolloverTitles();
std::vector<std::vector<std::string>> RolloverRows(const RolloverPlan& plan);

}  // namespace kashidashi::library
