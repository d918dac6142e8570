// A backend connection through which nothing can be written: every write,
// schema change, lock and transaction throws std::logic_error. The catalogue
// reads the school's data through it only, so that no page, whatever it is
// asked, can change a book, a loan or a reservation. (On a server the
// catalogue's role may only SELECT as well: two fences, see README.)
#pragma once

#include <memory>

#include "engine/storage/connection.h"

namespace kashidashi::opac {

std::unique_ptr<engine::storage::Connection> ReadOnly(
    std::unique_ptr<engine::storage::Connection> connection);

}  // namespace kashidashi::opac
