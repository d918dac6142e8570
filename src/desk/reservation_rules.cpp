#include "desk/reservation_rules.h"

#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/row_writer.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"

namespace kashidashi::desk {
namespace {

using engine::Value;
using engine::storage::Connection;
using Params = std::vector<std::pair<std::string, Value>>;

engine::translate::ParamValues ValuesOf(const Params& params) {
    return [&params](const std::string& name) -> std::optional<Value> {
        for (const auto& [key, value] : params)
            if (engine::LowerName(key) == engine::LowerName(name)) return value;
        return std::nullopt;
    };
}

engine::storage::ResultSet Select(Connection& connection, const std::string& text,
                                  const Params& params) {
    auto statement = engine::sql::ParseStatement(text);
    return engine::translate::RunQuery(*statement.As<engine::sql::SelectStmt>(), connection,
                                       ValuesOf(params), text);
}

int64_t Execute(Connection& connection, const std::string& text, const Params& params) {
    auto statement = engine::sql::ParseStatement(text);
    return engine::translate::ExecuteStatement(statement, connection, ValuesOf(params), text);
}

int64_t IntegerOf(const Value& value) {
    return value.IsInteger() ? value.Integer() : 0;
}

engine::storage::TableSchema TableOf(Connection& connection, const char* name) {
    auto table = connection.DescribeTableKept(name);
    if (!table) throw engine::EngineError::Make(engine::err::kTableMissing, name);
    return *table;
}

int ColumnOf(const engine::storage::TableSchema& table, const char* column) {
    auto index = table.FindColumn(column);
    if (!index) throw engine::EngineError::Make(engine::err::kSqlError, column);
    return *index;
}

// Book.yoyakuF set under the book's row lock, as the desk's edit of a book
// row sets it: another desk in the middle of lending that book is waited for.
void MarkBookReserved(Connection& connection, const engine::TDBSession& locks, int64_t bookId) {
    const auto book = TableOf(connection, "Book");
    engine::storage::ScanRequest find;
    find.table = &book;
    find.orderColumns = {ColumnOf(book, "BOOK_ID")};
    find.equalKeys = {Value(bookId)};
    auto rows = connection.Scan(find);
    if (rows.empty()) return;
    engine::RowWriter writer(connection, book, locks);
    auto locked = writer.LockAndRead(rows.front());
    auto values = locked.values;
    values[ColumnOf(book, "yoyakuF")] = Value(true);
    try {
        writer.Update(locked, values);
    } catch (...) {
        writer.Unlock(locked);
        throw;
    }
    writer.Unlock(locked);
}

}  // namespace

int64_t NextReservationNumber(Connection& connection, int64_t bookId) {
    auto rows =
        Select(connection, "Select yoyaku_No From yoyaku Where Book_ID=:PM1 Order By yoyaku_No",
               {{"PM1", Value(bookId)}})
            .rows;
    return rows.empty() ? 1 : IntegerOf(rows.back().values[0]) + 1;
}

int64_t AppendReservation(Connection& connection, const engine::TDBSession& locks, int64_t bookId,
                          const std::string& isbn12, const Reserver& reserver) {
    const auto yoyaku = TableOf(connection, "yoyaku");
    const int64_t number = NextReservationNumber(connection, bookId);
    std::vector<Value> values(yoyaku.columns.size());
    auto set = [&](const char* column, const Value& value) {
        const int index = ColumnOf(yoyaku, column);
        values[index] = engine::ToColumnValue(value, yoyaku.columns[index].type, column);
    };
    set("Book_ID", Value(bookId));
    set("yoyaku_No", Value(number));
    set("Name_ID", Value(reserver.nameId));
    set("Seito_No", Value(reserver.pupilNo));
    set("Name", Value(reserver.name));
    set("yoyakubi", Value(engine::Today()));
    set("yoyakuDTime", Value(engine::Now()));
    set("ISBN_ID", Value(isbn12));
    connection.InsertRow(yoyaku, values);
    MarkBookReserved(connection, locks, bookId);
    return number;
}

int64_t RemoveReservations(Connection& connection, int64_t bookId, const std::string& nameId,
                           const std::string& isbn12) {
    // The desk's deletion: the user's rows of the book number only (its
    // second parameter, the ISBN, is given empty).
    const int64_t removed =
        Execute(connection,
                "Delete From yoyaku Where (Book_ID=:PM1 or (ISBN_ID is Not "
                "Null and ISBN_ID=:PM2)) and Name_ID=:PM3",
                {{"PM1", Value(bookId)}, {"PM2", Value("")}, {"PM3", Value(nameId)}});
    if (TitleQueue(connection, bookId, isbn12).empty())
        Execute(connection, "Update Book Set yoyakuF=False where Book_ID=:PM1",
                {{"PM1", Value(bookId)}});
    return removed;
}

std::vector<QueuedReservation> TitleQueue(Connection& connection, int64_t bookId,
                                          const std::string& isbn12) {
    auto rows = Select(connection,
                       "Select Book_ID, yoyaku_No, Name_ID, yoyakuDTime From yoyaku"
                       " where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)"
                       " Order By YoyakuDTime",
                       {{"PM1", Value(bookId)}, {"PM2", Value(isbn12)}})
                    .rows;
    std::vector<QueuedReservation> queue;
    for (const auto& row : rows) {
        const auto& v = row.values;
        queue.push_back({IntegerOf(v[0]), IntegerOf(v[1]), v[2].IsText() ? v[2].Text() : "",
                         v[3].IsDateTime() ? v[3].DateTimeValue() : engine::DateTime{}});
    }
    return queue;
}

}  // namespace kashidashi::desk
