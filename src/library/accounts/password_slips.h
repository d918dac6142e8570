// The password slips a school hands out (layout password_slips of the
// program's resources): one slip per user with the school, the class, the
// name, the number to log in with (the one on their card), the password,
// the catalogue's address and a short word on keeping it secret; six slips
// on an A4 page with a cut line under each, in the order given (a class
// after another).
//
// Issuing (IssueSlips) gives every chosen user a new password at once: the
// old ones stop working. The passwords exist in clear only in the slips
// returned and the report made from them.
#pragma once

#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"
#include "library/labels/cards.h"
#include "reports/page_model.h"

namespace kashidashi::accounts {

struct PasswordSlip {
    library::CardUser user;
    std::string number;  // the number to log in with
    std::string password;
    bool staff = false;
};

// New passwords for `users`; `progress` (may be empty) hears after each.
std::vector<PasswordSlip> IssueSlips(engine::storage::Connection& connection,
                                     const std::vector<library::CardUser>& users,
                                     engine::DateTime now,
                                     const std::function<void(size_t done)>& progress = {});

// `address` is where pupils reach the catalogue ("" prints none).
reports::PreparedReport PasswordSlipsReport(const std::vector<PasswordSlip>& slips,
                                            const std::string& school, const std::string& address);

inline constexpr const char* kPupilSlipMessage =
    "このパスワードは、ほかの人に見せたり教えたりしないでください。ログインしたら、"
    "「パスワードを変える」で自分だけのパスワードに変えられます。";
inline constexpr const char* kStaffSlipMessage =
    "パスワードは他の人に知られないようにお取り扱いください。ログイン後、"
    "「パスワードを変える」でご自分のパスワードに変更できます。";

}  // namespace kashidashi::accounts
