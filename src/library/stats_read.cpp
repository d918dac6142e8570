#include "library/stats_read.h"

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

std::unordered_map<std::string, std::optional<int64_t>> UserClasses(
    engine::storage::Connection& c) {
    std::unordered_map<std::string, std::optional<int64_t>> classes;
    for (const auto& row : SelectRows(c, "Select NAME_ID, syozoku_ID From Name").rows) {
        std::optional<int64_t> code;
        if (!row.values[1].IsNull()) code = IntegerOf(row.values[1]);
        classes[TextOf(row.values[0])] = code;
    }
    return classes;
}

std::unordered_map<int64_t, StatsBook> StatsBooks(engine::storage::Connection& c) {
    std::unordered_map<int64_t, StatsBook> books;
    for (const auto& row : SelectRows(c, "Select BOOK_ID, NDC_ID, ISBN, syomei2 From Book").rows) {
        const auto& ndc = row.values[1];
        double code = ndc.IsFloat() ? ndc.Float() : ndc.IsInteger() ? double(ndc.Integer()) : 0;
        books[IntegerOf(row.values[0])] = {code, TextOf(row.values[2]), TextOf(row.values[3])};
    }
    return books;
}

}  // namespace kashidashi::library
