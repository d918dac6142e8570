#include "library/holdings/reserved_flag.h"

#include "library/sql_rows.h"

namespace kashidashi::library::holdings {

void SetReservedFlag(engine::storage::Connection& connection, int64_t book) {
    using engine::Value;
    auto isbn =
        SelectRows(connection, "Select ISBN From Book Where BOOK_ID=:PM1", {{"pm1", Value(book)}});
    if (isbn.rows.empty()) return;
    const std::string isbn12 = TextOf(isbn.rows[0].values[0]).substr(0, 12);
    auto left = SelectRows(connection,
                           "Select Book_ID From yoyaku Where Book_ID=:PM1 Or (ISBN_ID Is Not Null"
                           " And ISBN_ID=:PM2)",
                           {{"pm1", Value(book)}, {"pm2", Value(isbn12)}});
    ExecuteRows(connection, "Update Book Set yoyakuF=:PM1 Where BOOK_ID=:PM2",
                {{"pm1", Value(!left.rows.empty())}, {"pm2", Value(book)}});
}

}  // namespace kashidashi::library::holdings
