#include "library/backup/data_layout.h"

#include <sstream>

#include "data/schema.h"

namespace kashidashi::library {
namespace {

// The script writes one CREATE TABLE "Name" ( line, then one column a line
// ("  NAME TYPE,") up to the PRIMARY KEY or LANGUAGE line or the closing
// parenthesis.
std::map<std::string, std::vector<std::string>> ReadScript(const std::string& script) {
    std::map<std::string, std::vector<std::string>> tables;
    std::istringstream lines(script);
    std::string line, table;
    const std::string create = "CREATE TABLE \"";
    while (std::getline(lines, line)) {
        if (line.rfind(create, 0) == 0) {
            table = line.substr(create.size(), line.find('"', create.size()) - create.size());
            continue;
        }
        if (table.empty()) continue;
        std::istringstream words(line);
        std::string column;
        words >> column;
        if (line.rfind("  ", 0) != 0 || column == "PRIMARY" || column == "LANGUAGE") {
            table.clear();  // the columns have ended
            continue;
        }
        tables[table].push_back(column);
    }
    return tables;
}

}  // namespace

const std::map<std::string, std::vector<std::string>>& DataTableColumns() {
    static const auto tables = ReadScript(DataTablesScript());
    return tables;
}

}  // namespace kashidashi::library
