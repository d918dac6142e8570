// The school's lists of codes: classes (SYOZOKU), storage places (HKN),
// NDC classes (NDC), funds (ZAIGEN), suppliers (UKEIRE). A code is added
// with its name, renamed, and removed only while no row uses it: the
// refusal says which rows do (users of a class, books of a place ...).
// Refusals are Refused (columns.h); the engine's failures EngineError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

enum class CodeList { Classes, Places, Ndc, Funds, Suppliers };

struct CodeListInfo {
    CodeList list;
    const char* table;       // "SYOZOKU"
    const char* keyColumn;   // "SYOZOKU_ID"
    const char* nameColumn;  // "SYOZOKU"
    const char* title;       // "所属"
    const char* usedBy;      // "Name" or "Book"
    const char* usedColumn;  // "syozoku_ID"
};

const std::vector<CodeListInfo>& CodeLists();
const CodeListInfo& InfoOf(CodeList list);
std::string ListTitle(CodeList list);

struct CodeEntry {
    engine::Value code;  // an integer, or a number for NDC
    std::string codeText;
    std::string name;
    int64_t used = 0;  // the rows that use it
};

// In code order, with how many rows use each.
std::vector<CodeEntry> ReadCodes(engine::storage::Connection& connection, CodeList list);
bool IsKnownCode(engine::storage::Connection& connection, CodeList list, const engine::Value& code);

// `codeText` as the list's code ("101", "913"); Refused when it is none.
engine::Value CodeOf(engine::storage::Connection& connection, CodeList list,
                     const std::string& codeText);
void AddCode(engine::storage::Connection& connection, CodeList list, const std::string& codeText,
             const std::string& name);
void RenameCode(engine::storage::Connection& connection, CodeList list, const std::string& codeText,
                const std::string& name);
// Refused while a row uses the code ("3 人が使っています: 青木　一郎 ほか").
void RemoveCode(engine::storage::Connection& connection, CodeList list,
                const std::string& codeText);

}  // namespace kashidashi::library::holdings
