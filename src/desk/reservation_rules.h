// The reservation rules that every place taking or removing a reservation
// shares (the desk's tabs 予約 and 予約状況, the pupils' own page), on a
// backend connection, without a window.
//
// A reservation queues a user for a book number and, through the ISBN
// stored with it, for every copy of the same title; the queue order is the
// time of reservation. Its number is 1 + the highest yoyaku_No of the rows
// with that Book_ID (1 for the first), so that numbers of deleted rows above
// the highest come back and those below do not.
//
// Every function throws what the engine throws; none begins or ends a
// transaction (the caller's transaction makes a reservation all-or-nothing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace engine {
class TDBSession;
}

namespace kashidashi::desk {

// Who reserves, as the reservation keeps them: the fixed number, the pupil
// number and the name at the time of the reservation.
struct Reserver {
    std::string nameId;
    std::string pupilNo;
    std::string name;
};

// 1 + the highest yoyaku_No of book `bookId`'s reservations.
int64_t NextReservationNumber(engine::storage::Connection& connection, int64_t bookId);

// Appends the reservation row (reserved today and now, with `isbn12`) and
// marks the book reserved (Book.yoyakuF) under its row lock, waiting for
// another desk's lock as `locks` says; a book number that no book carries
// gets the row without a mark. Returns the row's yoyaku_No.
int64_t AppendReservation(engine::storage::Connection& connection, const engine::TDBSession& locks,
                          int64_t bookId, const std::string& isbn12, const Reserver& reserver);

// Deletes every reservation of `nameId` for book number `bookId`; when no
// reservation of that book number or of `isbn12` is left, the book's mark
// goes too. Returns the rows deleted.
int64_t RemoveReservations(engine::storage::Connection& connection, int64_t bookId,
                           const std::string& nameId, const std::string& isbn12);

// One reservation of a title's queue.
struct QueuedReservation {
    int64_t bookId = 0;
    int64_t number = 0;  // yoyaku_No
    std::string nameId;
    engine::DateTime reservedAt{};
};

// The reservations of book number `bookId` together with those of title
// `isbn12` (when not empty), earliest first: the queue that lending, return
// and deletion consult.
std::vector<QueuedReservation> TitleQueue(engine::storage::Connection& connection, int64_t bookId,
                                          const std::string& isbn12);

}  // namespace kashidashi::desk
