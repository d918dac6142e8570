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
    // The login finds a user by pupil or fixed number and keeps their name
    // on a reservation; the own page reads the user's loans and record.
    sql +=
        "GRANT SELECT (kx_rowid, \"NAME_ID\", \"seito_No\", \"NAME\", \"syozoku_ID\") "
        "ON \"Name\" TO " +
        r + ";\n";
    sql += "GRANT SELECT ON \"Book\" TO " + r + ";\n";
    sql +=
        "GRANT SELECT (kx_rowid, \"BOOK_ID\", \"NAME_ID\", \"kashidashiF\", "
        "\"kashidashibi\", \"henkyakuyotei\", \"henkyakubi\", \"ISBN_ID\") ON \"kashibo\" TO " +
        r + ";\n";
    // Reservations through the desk's rules: the row, its deletion, the
    // book's mark.
    sql += "GRANT SELECT, INSERT, DELETE ON \"yoyaku\" TO " + r + ";\n";
    sql += "GRANT UPDATE (\"yoyakuF\") ON \"Book\" TO " + r + ";\n";
    sql += std::string("GRANT SELECT, UPDATE ON \"") + kAccountTable + "\" TO " + r + ";\n";
    sql += std::string("GRANT SELECT ON \"") + kSwitchTable + "\" TO " + r + ";\n";
    return sql;
}

}  // namespace kashidashi::accounts
