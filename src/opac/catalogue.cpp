#include "opac/catalogue.h"

#include <cmath>
#include <set>
#include <utility>

#include "engine/common/error.h"
#include "opac/data_rows.h"

namespace kashidashi::opac {

namespace {

const char* kBookColumns =
    "Select BOOK_ID, syomei1, syomei2, syomei3, key1, cyosya1, cyosya2, cyosya3, cyosya4, "
    "syuppansya, syuppannen, seikyu, ISBN, kenmei1, NDC_ID, HKN_ID, yobi1_ID, tourokubi, "
    "kashidashiF, kintaiF, heikaF, haikiF, sakujoF From Book Where BOOK_ID = :PM1";

std::optional<engine::storage::Row> BookRow(engine::storage::Connection& data, int64_t id) {
    auto rows = Select(data, kBookColumns, {{"pm1", engine::Value(id)}});
    if (rows.rows.empty()) return std::nullopt;
    const auto& v = rows.rows.front().values;
    if (FlagOf(v[21]) || FlagOf(v[22])) return std::nullopt;  // discarded, deleted
    return rows.rows.front();
}

std::optional<engine::Date> DueDate(engine::storage::Connection& data, int64_t id) {
    auto rows = Select(data,
                       "Select henkyakuyotei From kashibo Where BOOK_ID = :PM1 And "
                       "kashidashiF = '1'",
                       {{"pm1", engine::Value(id)}});
    std::optional<engine::Date> due;
    for (const auto& row : rows.rows) {
        auto date = DateOf(row.values[0]);
        if (date && (!due || *date > *due)) due = date;
    }
    return due;
}

}  // namespace

std::string CodeNames::Ndc(std::optional<double> code) const {
    if (!code) return {};
    auto it = ndc.find(*code);
    return it == ndc.end() ? std::string() : it->second;
}

std::string CodeNames::Place(std::optional<int64_t> code) const {
    if (!code) return {};
    auto it = place.find(*code);
    return it == place.end() ? std::string() : it->second;
}

std::optional<BookDetails> ReadBook(engine::storage::Connection& data, int64_t id) {
    auto row = BookRow(data, id);
    if (!row) return std::nullopt;
    const auto& v = row->values;
    BookDetails book;
    book.id = id;
    book.series = TextOf(v[1]);
    book.title = TextOf(v[2]);
    book.subtitle = TextOf(v[3]);
    book.titleReading = TextOf(v[4]);
    for (int i = 5; i <= 8; ++i)
        if (!TextOf(v[i]).empty()) book.authors.push_back(TextOf(v[i]));
    book.publisher = TextOf(v[9]);
    book.year = TextOf(v[10]);
    book.callNumber = TextOf(v[11]);
    book.isbn = TextOf(v[12]);
    book.description = TextOf(v[13]);
    book.ndc = NumberOf(v[14]);
    book.place = IntegerOf(v[15]);
    book.mainClass = IntegerOf(v[16]);
    book.registered = DateOf(v[17]);
    return book;
}

std::vector<CopyInfo> ReadCopies(engine::storage::Connection& data,
                                 const std::vector<int64_t>& ids) {
    std::vector<CopyInfo> copies;
    for (int64_t id : ids) {
        auto row = BookRow(data, id);
        if (!row) continue;
        const auto& v = row->values;
        CopyInfo copy;
        copy.id = id;
        copy.callNumber = TextOf(v[11]);
        copy.place = IntegerOf(v[15]);
        copy.closedStack = FlagOf(v[20]);
        if (FlagOf(v[18])) {
            copy.state = CopyState::OnLoan;
            copy.due = DueDate(data, id);
        } else if (FlagOf(v[19])) {
            copy.state = CopyState::NotForLoan;
        }
        copies.push_back(copy);
    }
    return copies;
}

int WaitingCount(engine::storage::Connection& data, const std::vector<int64_t>& ids,
                 const std::string& isbn) {
    std::set<std::pair<int64_t, int64_t>> waiting;  // (Book_ID, yoyaku_No)
    auto add = [&waiting](const engine::storage::ResultSet& rows) {
        for (const auto& row : rows.rows)
            waiting.insert(
                {IntegerOf(row.values[0]).value_or(0), IntegerOf(row.values[1]).value_or(0)});
    };
    for (int64_t id : ids)
        add(Select(data, "Select Book_ID, yoyaku_No From yoyaku Where Book_ID = :PM1",
                   {{"pm1", engine::Value(id)}}));
    if (!isbn.empty())
        add(Select(data, "Select Book_ID, yoyaku_No From yoyaku Where ISBN_ID = :PM2",
                   {{"pm2", engine::Value(isbn)}}));
    return static_cast<int>(waiting.size());
}

CodeNames ReadCodeNames(engine::storage::Connection& data) {
    CodeNames names;
    try {
        for (const auto& row : Select(data, "Select NDC_ID, NDC From NDC").rows)
            if (auto code = NumberOf(row.values[0])) names.ndc[*code] = TextOf(row.values[1]);
    } catch (const engine::EngineError&) {
        // A school without the NDC list shows codes without names.
    }
    try {
        for (const auto& row : Select(data, "Select HKN_ID, HKN From HKN").rows)
            if (auto code = IntegerOf(row.values[0])) names.place[*code] = TextOf(row.values[1]);
    } catch (const engine::EngineError&) {
    }
    return names;
}

}  // namespace kashidashi::opac
