#include "library/stats/stats_read.h"

#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

// The loans of the period, one column of them.
engine::storage::ResultSet LoanColumn(engine::storage::Connection& c, const char* column,
                                      engine::Date from, engine::Date to) {
    return SelectRows(c,
                      std::string("Select ") + column +
                          " From kashibo Where kashidashibi>=:PM1 and kashidashibi<=:PM2",
                      {{"pm1", engine::Value(from)}, {"pm2", engine::Value(to)}});
}

}  // namespace

std::vector<int32_t> LoanDays(engine::storage::Connection& c, engine::Date from, engine::Date to) {
    auto rows = LoanColumn(c, "kashidashibi", from, to);
    std::vector<int32_t> days;
    days.reserve(rows.rows.size());
    for (const auto& row : rows.rows)
        if (auto day = DateOf(row.values[0])) days.push_back(day->days);
    return days;
}

std::vector<int64_t> LoanBooks(engine::storage::Connection& c, engine::Date from, engine::Date to) {
    auto rows = LoanColumn(c, "BOOK_ID", from, to);
    std::vector<int64_t> books;
    books.reserve(rows.rows.size());
    for (const auto& row : rows.rows) books.push_back(IntegerOf(row.values[0]));
    return books;
}

std::vector<std::string> LoanUsers(engine::storage::Connection& c, engine::Date from,
                                   engine::Date to) {
    auto rows = LoanColumn(c, "NAME_ID", from, to);
    std::vector<std::string> users;
    users.reserve(rows.rows.size());
    for (const auto& row : rows.rows) users.push_back(TextOf(row.values[0]));
    return users;
}

std::unordered_map<std::string, StatsUser> StatsUsers(engine::storage::Connection& c) {
    std::unordered_map<std::string, StatsUser> users;
    for (const auto& row :
         SelectRows(c, "Select NAME_ID, syozoku_ID, seito_No, NAME From Name").rows) {
        StatsUser user{std::nullopt, TextOf(row.values[2]), TextOf(row.values[3])};
        if (!row.values[1].IsNull()) user.code = IntegerOf(row.values[1]);
        users[TextOf(row.values[0])] = std::move(user);
    }
    return users;
}

std::unordered_map<int64_t, StatsBook> StatsBooks(engine::storage::Connection& c) {
    std::unordered_map<int64_t, StatsBook> books;
    const char* statement = "Select BOOK_ID, NDC_ID, ISBN, syomei2, yobi1_ID From Book";
    for (const auto& row : SelectRows(c, statement).rows) {
        const auto& ndc = row.values[1];
        double code = ndc.IsFloat() ? ndc.Float() : ndc.IsInteger() ? double(ndc.Integer()) : 0;
        std::optional<int64_t> main;
        if (!row.values[4].IsNull()) main = IntegerOf(row.values[4]);
        books[IntegerOf(row.values[0])] = {code, main, TextOf(row.values[2]),
                                           TextOf(row.values[3])};
    }
    return books;
}

}  // namespace kashidashi::library
