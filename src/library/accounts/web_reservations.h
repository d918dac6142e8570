// A user reserves a title and cancels their own reservation from the web,
// through the desk's reservation rules (desk/reservation_rules.h): the same
// numbering, row and book mark as the tab 予約, the same deletion as the tab
// 予約状況, so that the desk sees both at once.
//
// The web refuses what a pupil alone at a tablet should not do and the
// desk leaves to the staff: a book that no book number carries, one that
// cannot be lent (禁帯出, discarded or deleted), a title they have out now,
// a title they have reserved already, and more reservations than the
// school's limit. A cancel reaches only the user's own reservations.
#pragma once

#include <cstdint>
#include <string>

#include "engine/storage/connection.h"
#include "library/accounts/web_accounts.h"

namespace engine {
class TDBSession;
}

namespace kashidashi::accounts {

enum class ReserveOutcome {
    Reserved,
    NoSuchBook,
    NotLendable,
    HeldByUser,
    AlreadyReserved,
    OverLimit,
    Failed,  // the store failed and was rolled back
};

struct ReserveResult {
    ReserveOutcome outcome = ReserveOutcome::Failed;
    int64_t number = 0;  // the reservation's yoyaku_No when reserved
    int place = 0;       // its place in the title's queue
};

ReserveResult ReserveTitle(engine::storage::Connection& connection, const engine::TDBSession& locks,
                           const WebUser& user, int64_t book, int limit);

// Cancels `user`'s reservations of book number `book`; false when they have
// none (another user's reservation is never touched).
bool CancelOwnReservation(engine::storage::Connection& connection, const WebUser& user,
                          int64_t book);

}  // namespace kashidashi::accounts
