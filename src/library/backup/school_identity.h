// The school's identity, kept with its data in a table of the program's own
// (kx_school: one row, the school's id and name), so that a backup can say
// whose data it holds. The id is made once, at `init` or on first need, and
// never changes; the name is the one the desks give the school.
#pragma once

#include <optional>
#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::library {

inline constexpr const char* kSchoolTable = "kx_school";

struct SchoolIdentity {
    std::string id;    // a UUID
    std::string name;  // "" until a desk names the school
};

// The identity at `connection`'s place; nothing when it has none yet.
std::optional<SchoolIdentity> ReadSchoolIdentity(engine::storage::Connection& connection);

// The identity, made (a new id) when missing; a `name` given replaces an
// empty or different stored name. Throws EngineError when it cannot write.
SchoolIdentity EnsureSchoolIdentity(engine::storage::Connection& connection,
                                    const std::string& name = "");

}  // namespace kashidashi::library
