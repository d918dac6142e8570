#include "library/holdings/book_search.h"

#include <QString>
#include <algorithm>
#include <map>
#include <set>

#include "data/search_fold.h"
#include "desk/lost_mark.h"
#include "engine/common/dates.h"
#include "engine/common/value_convert.h"
#include "library/holdings/books.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

constexpr const char* kSelect =
    "Select BOOK_ID, syomei2, syomei3, syomei1, cyosya1, cyosya2, cyosya3, cyosya4, syuppansya,"
    " key1, key2, seikyu, NDC_ID, HKN_ID, ISBN, tourokubi, kashidashiF, yoyakuF, kintaiF, haikiF"
    " From Book";
// The columns 1 to 11 are the texts searched.
constexpr int kTextColumns = 11;

std::map<double, std::string> NdcNames(Connection& connection) {
    std::map<double, std::string> names;
    for (const auto& row : SelectRows(connection, "Select NDC_ID, NDC From NDC").rows)
        if (!row.values[0].IsNull())
            names[row.values[0].IsFloat() ? row.values[0].Float()
                                          : static_cast<double>(IntegerOf(row.values[0]))] =
                TextOf(row.values[1]);
    return names;
}

std::map<int64_t, std::string> PlaceNames(Connection& connection) {
    std::map<int64_t, std::string> names;
    for (const auto& row : SelectRows(connection, "Select HKN_ID, HKN From HKN").rows)
        names[IntegerOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

std::map<int64_t, engine::Date> DueDates(Connection& connection) {
    std::map<int64_t, engine::Date> due;
    for (const auto& row :
         SelectRows(connection, "Select BOOK_ID, henkyakuyotei From kashibo Where kashidashiF='1'")
             .rows)
        if (auto day = DateOf(row.values[1])) due[IntegerOf(row.values[0])] = *day;
    return due;
}

std::set<int64_t> LostBooks(Connection& connection) {
    std::set<int64_t> lost;
    if (!connection.DescribeTable(desk::kLostMarkTable)) return lost;
    for (const auto& row :
         SelectRows(connection, std::string("Select BOOK_ID From ") + desk::kLostMarkTable).rows)
        lost.insert(IntegerOf(row.values[0]));
    return lost;
}

// A query word as a book number or an ISBN, when it is one.
struct Word {
    QString folded;
    std::optional<int64_t> number;
    std::optional<std::string> isbn;
};

std::vector<Word> WordsOf(const std::string& query) {
    std::vector<Word> words;
    for (const QString& folded : SearchWords(QString::fromStdString(query))) {
        Word word{folded, std::nullopt, StoredIsbn(folded.toStdString())};
        bool digits = !folded.isEmpty() && folded.size() <= 9;
        for (QChar c : folded) digits = digits && c >= '0' && c <= '9';
        if (digits) word.number = folded.toLongLong();
        words.push_back(std::move(word));
    }
    return words;
}

bool Flag(const Value& value) {
    return value.IsBool() ? value.Bool() : IntegerOf(value) != 0;
}

std::string NdcText(const Value& value) {
    if (value.IsNull()) return "";
    return engine::ValueText(value);
}

}  // namespace

std::vector<BookHit> SearchBooks(Connection& connection, const BookQuery& query) {
    const auto words = WordsOf(query.words);
    const auto ndc = NdcNames(connection);
    const auto places = PlaceNames(connection);
    const auto due = DueDates(connection);
    const auto lost = LostBooks(connection);
    std::vector<BookHit> hits;
    for (const auto& row : SelectRows(connection, kSelect).rows) {
        const auto& v = row.values;
        const auto registered = DateOf(v[15]);
        if (query.registeredFrom && (!registered || *registered < *query.registeredFrom)) continue;
        if (query.registeredTo && (!registered || *registered > *query.registeredTo)) continue;
        const int64_t number = IntegerOf(v[0]);
        const std::string isbn = TextOf(v[14]);
        const std::string place = v[13].IsNull() ? "" : [&] {
            auto it = places.find(IntegerOf(v[13]));
            return it != places.end() ? it->second : std::string();
        }();
        std::string ndcName;
        if (!v[12].IsNull()) {
            const double code = v[12].IsFloat() ? v[12].Float() : double(IntegerOf(v[12]));
            if (auto it = ndc.find(code); it != ndc.end()) ndcName = it->second;
        }
        QString joined;
        for (int i = 1; i <= kTextColumns; ++i)
            joined += QString::fromStdString(TextOf(v[i])) + QChar(0x1f);
        joined += QString::fromStdString(NdcText(v[12])) + QChar(0x1f) +
                  QString::fromStdString(ndcName) + QChar(0x1f) + QString::fromStdString(place);
        const QStringList fields = FoldForSearch(joined).split(QChar(0x1f));
        const bool all = std::all_of(words.begin(), words.end(), [&](const Word& word) {
            if (word.number && *word.number == number) return true;
            if (word.isbn && *word.isbn == isbn) return true;
            for (const auto& field : fields)
                if (query.startsWith ? field.startsWith(word.folded) : field.contains(word.folded))
                    return true;
            return false;
        });
        if (!all) continue;
        BookHit hit;
        hit.number = number;
        hit.title = TextOf(v[1]);
        for (int i = 4; i <= 7; ++i)
            if (!TextOf(v[i]).empty())
                hit.authors += (hit.authors.empty() ? "" : "、") + TextOf(v[i]);
        hit.publisher = TextOf(v[8]);
        hit.callNumber = TextOf(v[11]);
        hit.place = place;
        hit.isbn = isbn;
        hit.registered = registered;
        hit.reserved = Flag(v[17]);
        if (Flag(v[19]))
            hit.state = ShelfState::Discarded;
        else if (lost.count(number))
            hit.state = ShelfState::Lost;
        else if (Flag(v[16]))
            hit.state = ShelfState::OnLoan;
        else if (Flag(v[18]))
            hit.state = ShelfState::NotForLoan;
        if (auto it = due.find(number); it != due.end() && hit.state == ShelfState::OnLoan)
            hit.due = it->second;
        hits.push_back(std::move(hit));
    }
    std::sort(hits.begin(), hits.end(),
              [](const BookHit& a, const BookHit& b) { return a.number < b.number; });
    return hits;
}

std::string StateText(const BookHit& hit) {
    std::string text;
    switch (hit.state) {
        case ShelfState::OnShelf:
            text = "在架";
            break;
        case ShelfState::OnLoan:
            text = hit.due ? "貸出中（" + engine::FormatDate(*hit.due) + "まで）" : "貸出中";
            break;
        case ShelfState::NotForLoan:
            text = "禁帯";
            break;
        case ShelfState::Discarded:
            text = "除籍";
            break;
        case ShelfState::Lost:
            text = "不明";
            break;
    }
    return hit.reserved ? text + "・予約あり" : text;
}

}  // namespace kashidashi::library::holdings
