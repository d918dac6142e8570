// A backend meets another desk's lock deep inside a statement, where it knows
// only the statement or the folder; the caller knows which table it was
// working on, and the 10241 the operator sees names that table.
#pragma once

#include <string>

#include "engine/common/error.h"

namespace engine::storage {

// Runs `work`; a 10241 that it raises names `table`.
template <class Work>
auto NamingTable(const std::string& table, Work&& work) {
    try {
        return work();
    } catch (const EngineError& error) {
        if (error.code() != err::kTableLocked) throw;
        throw EngineError::Make(err::kTableLocked, table);
    }
}

}  // namespace engine::storage
