// 除籍 and its undoing, and the deletion of a book that never went out.
#include "library/connection_transaction.h"
#include "library/holdings/books.h"
#include "library/holdings/columns.h"
#include "library/holdings/own_tables.h"
#include "library/holdings/row_lock.h"
#include "library/sql_rows.h"
#include "platform/cp932.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

BookFields Existing(Connection& connection, int64_t number) {
    auto book = ReadBook(connection, number);
    if (!book) throw Refused("図書番号 " + std::to_string(number) + " の本はありません");
    return *book;
}

bool Named(Connection& connection, const char* text, int64_t number) {
    return !SelectRows(connection, text, {{"pm1", Value(number)}}).rows.empty();
}

}  // namespace

void DiscardBook(Connection& connection, int64_t number, engine::Date on,
                 const std::string& reason) {
    if (platform::Cp932ByteLength(reason) > 100)
        throw Refused("除籍の理由が長すぎます（100バイトまで、全角は1文字2バイト）");
    EnsureOwnTable(connection, kDiscardTable);
    ConnectionTransaction transaction(connection);
    WithRowLocked(connection, "Book", "BOOK_ID", Value(number), [&] {
        auto book = Existing(connection, number);
        if (book["haikiF"] == "True")
            throw Refused("図書番号 " + std::to_string(number) + " の本はもう除籍しています");
        if (book["kashidashiF"] == "True")
            throw Refused("図書番号 " + std::to_string(number) +
                          " の本は貸出中です。返却されてから除籍してください");
        ExecuteRows(connection, "Update Book Set haikiF=:PM1, haiki_date=:PM2 Where BOOK_ID=:PM3",
                    {{"pm1", Value(true)}, {"pm2", Value(on)}, {"pm3", Value(number)}});
        ExecuteRows(connection,
                    std::string("Insert Into ") + kDiscardTable +
                        " (BOOK_ID, DISCARDED_ON, REASON) Values (:PM1, :PM2, :PM3)",
                    {{"pm1", Value(number)},
                     {"pm2", Value(on)},
                     {"pm3", reason.empty() ? Value() : Value(reason)}});
    });
    transaction.Commit();
}

void RestoreBook(Connection& connection, int64_t number, engine::Date on) {
    ConnectionTransaction transaction(connection);
    WithRowLocked(connection, "Book", "BOOK_ID", Value(number), [&] {
        auto book = Existing(connection, number);
        if (book["haikiF"] != "True")
            throw Refused("図書番号 " + std::to_string(number) + " の本は除籍していません");
        ExecuteRows(connection, "Update Book Set haikiF=:PM1, haiki_date=:PM2 Where BOOK_ID=:PM3",
                    {{"pm1", Value(false)}, {"pm2", Value()}, {"pm3", Value(number)}});
        if (HasOwnTable(connection, kDiscardTable))
            ExecuteRows(connection,
                        std::string("Update ") + kDiscardTable +
                            " Set RESTORED_ON=:PM1 Where BOOK_ID=:PM2 And RESTORED_ON Is Null",
                        {{"pm1", Value(on)}, {"pm2", Value(number)}});
    });
    transaction.Commit();
}

std::optional<std::string> BookDeleteRefusal(Connection& connection, int64_t number) {
    if (Named(connection, "Select BOOK_ID From kashibo Where BOOK_ID=:PM1", number))
        return "図書番号 " + std::to_string(number) +
               " の本には貸出の記録があるので削除できません。除籍にしてください";
    if (Named(connection, "Select Book_ID From yoyaku Where Book_ID=:PM1", number))
        return "図書番号 " + std::to_string(number) + " の本には予約があるので削除できません";
    return std::nullopt;
}

void DeleteBook(Connection& connection, int64_t number) {
    ConnectionTransaction transaction(connection);
    WithRowLocked(connection, "Book", "BOOK_ID", Value(number), [&] {
        Existing(connection, number);
        if (auto refusal = BookDeleteRefusal(connection, number)) throw Refused(*refusal);
        ExecuteRows(connection, "Delete From Book Where BOOK_ID=:PM1", {{"pm1", Value(number)}});
    });
    transaction.Commit();
}

}  // namespace kashidashi::library::holdings
