// What the engine knows of a stored table: its columns in order, with the
// declared types and sizes, and its indexes. Names match without regard to
// letter case; the spelling of the CREATE TABLE is kept for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/field_type.h"

namespace engine::storage {

struct ColumnDef {
    std::string name;
    ColumnType type;
};

// The primary index has primary == true and the name "PRIMARY"; it is unique.
struct IndexDef {
    std::string name;
    std::vector<std::string> columns;
    bool primary = false;
    bool unique = false;
};

struct TableSchema {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;

    std::optional<int> FindColumn(std::string_view column) const;
    const IndexDef* PrimaryIndex() const;
    const IndexDef* FindIndex(std::string_view indexName) const;
    // The index whose columns are exactly `columns` (";"-separated), any case.
    const IndexDef* FindIndexByColumns(std::string_view columns) const;
};

}  // namespace engine::storage
