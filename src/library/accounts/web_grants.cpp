#include "library/accounts/web_grants.h"

#include <stdexcept>

#include "library/accounts/web_accounts.h"
#include "library/accounts/web_switches.h"

namespace kashidashi::accounts {
namespace {

bool Plain(const std::string& name) {
    if (name.empty() || name.size() > 63 || name[0] < 'a' || name[0] > 'z') return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

}  // namespace

std::string CatalogueGrants(const std::string& database, const std::string& role) {
    if (!Plain(database) || !Plain(role))
        throw std::invalid_argument(
            "データベース名とロール名は、小文字の英字で始まる英小文字・数字・_ "
            "にしてください。");
    const std::string r = "\"" + role + "\"";
    std::string sql;
    sql += "GRANT CONNECT ON DATABASE \"" + database + "\" TO " + r + ";\n";
    sql += "GRANT USAGE ON SCHEMA public TO " + r + ";\n";
    sql += "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM " + r + ";\n";
    sql += "GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + r + ";\n";
    sql += "GRANT INSERT, DELETE ON \"yoyaku\" TO " + r + ";\n";
    sql += "GRANT UPDATE (\"yoyakuF\") ON \"Book\" TO " + r + ";\n";
    sql += std::string("GRANT INSERT, UPDATE ON \"") + kAccountTable + "\" TO " + r + ";\n";
    return sql;
}

}  // namespace kashidashi::accounts
