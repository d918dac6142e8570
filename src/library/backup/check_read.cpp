// Reading the rows of the consistency check, a batch at a time.
#include <functional>
#include <stdexcept>

#include "engine/common/dates.h"
#include "library/backup/check_data.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;
using engine::storage::Row;
using engine::storage::TableSchema;

constexpr int kBatchRows = 2000;

TableSchema Require(Connection& connection, const std::string& name) {
    auto schema = connection.DescribeTable(name);
    if (!schema) throw std::runtime_error(name + " 表がありません。");
    return *schema;
}

void EachRow(Connection& connection, const TableSchema& table,
             const std::function<void(Row&)>& visit) {
    engine::storage::ScanRequest request;
    request.table = &table;
    request.limit = kBatchRows;
    for (;;) {
        auto rows = connection.Scan(request);
        for (auto& row : rows) visit(row);
        if (static_cast<int>(rows.size()) < kBatchRows) return;
        request.after = engine::storage::KeyPosition{{}, rows.back().id};
    }
}

int64_t Integer(const Value& value) {
    if (value.IsInteger()) return value.Integer();
    if (value.IsFloat()) return static_cast<int64_t>(value.Float());
    return 0;
}

std::string Text(const Value& value) {
    return value.IsText() ? value.Text() : "";
}

std::string DateText(const Value& value) {
    return value.IsDate() ? engine::FormatDate(value.DateValue()) : "";
}

void ReadBooks(Connection& connection, CheckData& data) {
    data.bookTable = Require(connection, "Book");
    int key = ColumnOf(data.bookTable, "BOOK_ID"), lent = ColumnOf(data.bookTable, "kashidashiF");
    int reserved = ColumnOf(data.bookTable, "yoyakuF"), isbn = ColumnOf(data.bookTable, "ISBN");
    EachRow(connection, data.bookTable, [&](Row& row) {
        if (row.values[key].IsNull()) return;
        bool flag = row.values[lent].IsBool() && row.values[lent].Bool();
        bool mark = row.values[reserved].IsBool() && row.values[reserved].Bool();
        std::string isbn12 = Text(row.values[isbn]).substr(0, 12);
        int64_t book = Integer(row.values[key]);
        data.books[book] = {{row.id, std::move(row.values)}, flag, mark, std::move(isbn12)};
    });
}

void ReadUsers(Connection& connection, CheckData& data) {
    data.nameTable = Require(connection, "Name");
    int key = ColumnOf(data.nameTable, "NAME_ID"), count = ColumnOf(data.nameTable, "mihenkyakuSU");
    EachRow(connection, data.nameTable, [&](Row& row) {
        if (row.values[key].IsNull()) return;
        int64_t unreturned = Integer(row.values[count]);
        std::string user = Text(row.values[key]);
        data.users[user] = {{row.id, std::move(row.values)}, unreturned};
    });
}

void ReadOpenLoans(Connection& connection, CheckData& data) {
    TableSchema table = Require(connection, "kashibo");
    int book = ColumnOf(table, "BOOK_ID"), user = ColumnOf(table, "NAME_ID");
    int open = ColumnOf(table, "kashidashiF"), lentOn = ColumnOf(table, "kashidashibi");
    EachRow(connection, table, [&](Row& row) {
        if (Text(row.values[open]) != "1") return;
        data.openLoans.push_back(
            {Integer(row.values[book]), Text(row.values[user]), DateText(row.values[lentOn])});
    });
}

void ReadReservations(Connection& connection, CheckData& data) {
    TableSchema table = Require(connection, "yoyaku");
    int book = ColumnOf(table, "Book_ID"), number = ColumnOf(table, "yoyaku_No");
    int user = ColumnOf(table, "Name_ID"), isbn = ColumnOf(table, "ISBN_ID");
    EachRow(connection, table, [&](Row& row) {
        data.reservations.push_back({Integer(row.values[book]), Integer(row.values[number]),
                                     Text(row.values[user]), Text(row.values[isbn])});
    });
}

}  // namespace

int ColumnOf(const TableSchema& table, const std::string& column) {
    auto index = table.FindColumn(column);
    if (!index) throw std::runtime_error(table.name + " 表に " + column + " 列がありません。");
    return *index;
}

CheckData ReadCheckData(Connection& connection) {
    CheckData data;
    ReadBooks(connection, data);
    ReadUsers(connection, data);
    ReadOpenLoans(connection, data);
    ReadReservations(connection, data);
    return data;
}

}  // namespace kashidashi::library
