// The label sheets a librarian chooses from: the standard sheets of the
// program (reports/cell_sheet.h) and one custom sheet entered in
// millimetres, kept with the school's data in Reg row kCustomSheetRegId
// (B1: "left top width height pitchX pitchY columns rows", blanks between),
// so every desk and every backup has it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "reports/cell_sheet.h"

namespace kashidashi::library {

inline constexpr int64_t kCustomSheetRegId = 22;
inline constexpr const char* kCustomSheetName = "custom";

// The measures as B1 keeps them; nothing for a text that is not eight numbers.
std::string CustomSheetText(const reports::CellSheet& sheet);
std::optional<reports::CellSheet> CustomSheetOf(const std::string& text);

// Nothing when none was saved. Throws EngineError.
std::optional<reports::CellSheet> ReadCustomSheet(engine::storage::Connection& connection);
// Throws std::runtime_error (the reason in Japanese) for a sheet that cannot
// be printed, EngineError when the row cannot be written.
void SaveCustomSheet(engine::storage::Connection& connection, const reports::CellSheet& sheet);

// The standard sheets, then the custom one when saved.
std::vector<reports::CellSheet> AvailableSheets(engine::storage::Connection& connection);

}  // namespace kashidashi::library
