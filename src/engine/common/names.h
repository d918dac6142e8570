// Names of tables, columns, indexes and parameters match without regard to
// the case of ASCII letters ("yoyaku", "Yoyaku" and "YOYAKU" are one table).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace engine {

bool SameName(std::string_view a, std::string_view b);
std::string LowerName(std::string_view name);
// Splits "A;B;C" (the separator of IndexFieldNames and lookup key lists).
std::vector<std::string> SplitNames(std::string_view list);

}  // namespace engine
