#include "engine/storage/schema.h"

#include "engine/common/names.h"

namespace engine::storage {

std::optional<int> TableSchema::FindColumn(std::string_view column) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (SameName(columns[i].name, column)) return static_cast<int>(i);
    return std::nullopt;
}

const IndexDef* TableSchema::PrimaryIndex() const {
    for (const auto& index : indexes)
        if (index.primary) return &index;
    return nullptr;
}

const IndexDef* TableSchema::FindIndex(std::string_view indexName) const {
    for (const auto& index : indexes)
        if (SameName(index.name, indexName)) return &index;
    return nullptr;
}

const IndexDef* TableSchema::FindIndexByColumns(std::string_view columnList) const {
    auto wanted = SplitNames(columnList);
    for (const auto& index : indexes) {
        if (index.columns.size() != wanted.size()) continue;
        bool same = true;
        for (size_t i = 0; i < wanted.size() && same; ++i)
            same = SameName(index.columns[i], wanted[i]);
        if (same) return &index;
    }
    return nullptr;
}

}  // namespace engine::storage
