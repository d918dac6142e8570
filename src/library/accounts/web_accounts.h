// The web accounts of a school's users (pupils and staff alike): one row per
// user with a password, in a table of the program's own (kx_web_account,
// made when the first password is issued) beside the data tables, so that
// it is backed up, checked, copied and restored with them.
//
// A user logs in with the number the desk reads from their card (five
// digits: the pupil number, six: the fixed number; full-width digits as
// well) and the password the librarian issued or they chose. Five wrong
// passwords in a row lock the account for fifteen minutes; while it is
// locked even the right password is refused, and the count starts again
// when the lock ends. A right password clears the count.
//
// Passwords are kept only as Argon2id hashes (password_hash.h) and never
// written to any log. Reads and writes throw what the engine throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::accounts {

inline constexpr const char* kAccountTable = "kx_web_account";
inline constexpr int kWrongPasswordsBeforeLock = 5;
inline constexpr int kLockMinutes = 15;
// A password a user chooses: 6 to 64 characters.
inline constexpr size_t kShortestPassword = 6;
inline constexpr size_t kLongestPassword = 64;

// A user of Name as the web pages know them.
struct WebUser {
    std::string nameId;   // NAME_ID, the permanent key
    std::string pupilNo;  // seito_No
    std::string name;
    std::optional<int64_t> classCode;  // syozoku_ID
};

// Makes the web tables (this one and the switches') where they are missing,
// so that a server's catalogue role can be granted them before first use.
void EnsureWebTables(engine::storage::Connection& connection);

// The user a typed number names (the desk's user-number rule), if any.
std::optional<WebUser> FindWebUser(engine::storage::Connection& connection,
                                   const std::string& typedNumber);
// The user of a fixed number, if Name still has them.
std::optional<WebUser> UserOfNameId(engine::storage::Connection& connection,
                                    const std::string& nameId);

// Gives `nameId` a new password (NewSlipPassword) and returns it: the only
// time it exists in clear. Clears the wrong-password count and any lock.
std::string IssuePassword(engine::storage::Connection& connection, const std::string& nameId,
                          engine::DateTime now);

// Whether the user has an account (a password issued).
bool HasAccount(engine::storage::Connection& connection, const std::string& nameId);

enum class LoginOutcome {
    LoggedIn,
    Refused,  // no such number, no account, or a wrong password: one answer for all
    Locked,   // five wrong passwords: try again after `lockedUntil`
};

struct LoginResult {
    LoginOutcome outcome = LoginOutcome::Refused;
    WebUser user;                    // when logged in
    engine::DateTime lockedUntil{};  // when locked
};

LoginResult Login(engine::storage::Connection& connection, const std::string& typedNumber,
                  const std::string& password, engine::DateTime now);

enum class ChangeOutcome { Changed, WrongPassword, Locked, TooShort, TooLong, SameAsNumber };

// The user's own change: the present password, then the new one. A wrong
// present password counts towards the lock like a wrong login.
ChangeOutcome ChangePassword(engine::storage::Connection& connection, const WebUser& user,
                             const std::string& present, const std::string& chosen,
                             engine::DateTime now);

}  // namespace kashidashi::accounts
