#include "data/schema.h"

#include <stdexcept>

#include "data/schema_scripts.h"

namespace kashidashi {
namespace {

constexpr const char* kHeadCreate = "CREATE TABLE IF NOT EXISTS \"Head\"";

}  // namespace

std::string DataTablesScript() {
    return schema_text::kDataTables;
}

std::string SettingsTablesScript() {
    return schema_text::kSettingsTables;
}

std::string HeadLayoutScript(const std::string& tableName) {
    // The head statement of the settings script, renamed: one layout to keep.
    const std::string script = SettingsTablesScript();
    const size_t begin = script.find(kHeadCreate);
    if (begin == std::string::npos) throw std::logic_error("settings script without Head");
    const size_t end = script.find(';', begin);
    std::string statement = script.substr(begin, end == std::string::npos ? end : end - begin);
    const size_t nameAt = statement.find("\"Head\"");
    return statement.replace(nameAt, 6, "\"" + tableName + "\"");
}

std::vector<std::string> DataTableNames() {
    return {"Book", "Name",   "kashibo", "yoyaku",  "NDC",
            "HKN",  "ZAIGEN", "UKEIRE",  "SYOZOKU", "Reg"};
}

std::vector<std::string> SettingsTableNames() {
    return {"wk", "Head", "Regist", "WK01"};
}

}  // namespace kashidashi
