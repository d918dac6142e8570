// The roll: the users of Name (pupils and staff) as the librarian keeps
// them. A user is found at the desk by the pupil number (five digits) or
// the fixed number (six digits), so neither may name two users:
//   - a pupil number another user holds is refused (the desk could never
//     serve the newcomer);
//   - a fixed number in use is refused; one that a deleted user once held
//     and that loans still name is a warning (the history would mix two
//     people);
//   - the class must be one of SYOZOKU; the name is required; every text
//     fits its column's bytes.
// Writes lock the user's row as the desk does and write only the columns
// that changed. Reads and writes throw EngineError; the rules' refusals are
// Refused (columns.h) with the reason in plain Japanese.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

struct RollUser {
    std::string nameId, pupilNo, name;
    std::optional<int64_t> classCode;
    std::string className;                            // read only: SYOZOKU's name of the class
    std::string sex, pupilNo2, postNo, address, tel;  // as typed ("" for none)
    int onLoan = 0;                                   // mihenkyakuSU, read only
};

// The user, or nothing.
std::optional<RollUser> ReadUser(engine::storage::Connection& connection,
                                 const std::string& nameId);
// The user holding the pupil number, or nothing.
std::optional<RollUser> UserOfPupilNumber(engine::storage::Connection& connection,
                                          const std::string& pupilNo);

// Users whose name, pupil number, fixed number or class name hold every
// word of `query` (SearchWords: kana-insensitive, full and half width alike;
// with `startsWith` a word must begin one of them), of one class when given;
// in class and pupil-number order.
std::vector<RollUser> SearchUsers(engine::storage::Connection& connection, const std::string& query,
                                  std::optional<int64_t> classCode, bool startsWith = false);

// The next free fixed number: one above the highest that Name or a loan
// names (six digits), so that a new user never takes a deleted user's.
std::string NextFixedNumber(engine::storage::Connection& connection);

struct UserCheck {
    std::vector<std::string> problems;  // any one refuses
    std::vector<std::string> warnings;  // the operator may go on
};
// The checks above for a new user (`before` empty) or a changed one.
UserCheck CheckUser(engine::storage::Connection& connection, const RollUser& user,
                    const std::optional<RollUser>& before);

// Stores a new user (nothing on loan). Throws Refused for a problem.
void AddUser(engine::storage::Connection& connection, const RollUser& user);
// Writes the columns of `after` that differ from the user as stored now.
// Throws Refused for a problem, or when the user is gone.
void EditUser(engine::storage::Connection& connection, const RollUser& after);
// Another class for the user.
void MoveUser(engine::storage::Connection& connection, const std::string& nameId,
              int64_t classCode);

struct UserLoan {
    int64_t book = 0;
    std::string title;
    engine::Date lentOn, due;
    std::optional<engine::Date> returnedOn;
};
struct UserReservation {
    int64_t book = 0;
    std::string title;
    engine::Date reservedOn;
};

// The books the user has out, by loan date.
std::vector<UserLoan> OpenLoans(engine::storage::Connection& connection, const std::string& nameId);
// Every loan of the user, newest first (the reading history; staff only).
std::vector<UserLoan> ReadingHistory(engine::storage::Connection& connection,
                                     const std::string& nameId);
std::vector<UserReservation> ReservationsOf(engine::storage::Connection& connection,
                                            const std::string& nameId);

inline constexpr const char* kLeaversClassName = "卒業・転出";
// Marks the user as left, as the year change does for a leaver with books
// out: moved to the class 卒業・転出 (made when SYOZOKU lacks it), the pupil
// number freed for a newcomer, their reservations cancelled (the books'
// reserved flags set again), the day kept in kx_left. One transaction.
void MarkLeft(engine::storage::Connection& connection, const std::string& nameId, engine::Date day);
// Deletes the user. Refused while the user has books out (the reason names
// them) or reservations are cancelled first; the loan history stays.
void DeleteUser(engine::storage::Connection& connection, const std::string& nameId);
// Why the user cannot be deleted now (books out, named), or nothing.
std::optional<std::string> DeleteRefusal(engine::storage::Connection& connection,
                                         const RollUser& user);

// A number as the operator types it: full-width digits become ASCII ones,
// blanks around it go; anything else stays (and the check refuses it).
std::string TypedNumber(const std::string& typed);

}  // namespace kashidashi::library::holdings
