#include "opac/catalogue.h"

#include <cmath>
#include <set>
#include <stdexcept>
#include <utility>

#include "engine/common/error.h"
#include "opac/data_rows.h"

namespace kashidashi::opac {

namespace {

// The columns a page reads, by name, in a row of Book as scanned.
struct BookRowView {
    const engine::storage::TableSchema& book;
    const engine::storage::Row& row;
    const engine::Value& operator[](const char* column) const {
        static const engine::Value none;
        auto at = book.FindColumn(column);
        return at ? row.values[static_cast<size_t>(*at)] : none;
    }
};

// The rows of `table` whose column `key` equals `value`, through the
// table's index on it (no statement to parse: these reads are the most
// frequent of every page).
std::vector<engine::storage::Row> RowsWhere(engine::storage::Connection& data,
                                            const engine::storage::TableSchema& table,
                                            const char* key, const engine::Value& value,
                                            int limit) {
    auto column = table.FindColumn(key);
    if (!column) throw std::runtime_error(std::string("列 ") + key + " がありません。");
    engine::storage::ScanRequest request;
    request.table = &table;
    request.orderColumns = {*column};
    request.equalKeys = {value};
    request.limit = limit;
    return data.Scan(request);
}

engine::storage::TableSchema Described(engine::storage::Connection& data, const char* name) {
    auto schema = data.DescribeTableKept(name);
    if (!schema) throw engine::EngineError::Make(engine::err::kTableMissing, name);
    return *schema;
}

// Book's row of a shown book: nothing for a missing, discarded or deleted one.
std::optional<engine::storage::Row> BookRow(engine::storage::Connection& data,
                                            const engine::storage::TableSchema& book, int64_t id) {
    auto rows = RowsWhere(data, book, "BOOK_ID", engine::Value(id), 1);
    if (rows.empty()) return std::nullopt;
    BookRowView v{book, rows.front()};
    if (FlagOf(v["haikiF"]) || FlagOf(v["sakujoF"])) return std::nullopt;
    return rows.front();
}

// Only for a copy on loan; by a statement naming its columns, since the
// catalogue's server role reads no other column of the loans.
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
    auto schema = Described(data, "Book");
    auto row = BookRow(data, schema, id);
    if (!row) return std::nullopt;
    BookRowView v{schema, *row};
    BookDetails book;
    book.id = id;
    book.series = TextOf(v["syomei1"]);
    book.title = TextOf(v["syomei2"]);
    book.subtitle = TextOf(v["syomei3"]);
    book.titleReading = TextOf(v["key1"]);
    for (const char* author : {"cyosya1", "cyosya2", "cyosya3", "cyosya4"})
        if (!TextOf(v[author]).empty()) book.authors.push_back(TextOf(v[author]));
    book.publisher = TextOf(v["syuppansya"]);
    book.year = TextOf(v["syuppannen"]);
    book.callNumber = TextOf(v["seikyu"]);
    book.isbn = TextOf(v["ISBN"]);
    book.description = TextOf(v["kenmei1"]);
    book.ndc = NumberOf(v["NDC_ID"]);
    book.place = IntegerOf(v["HKN_ID"]);
    book.mainClass = IntegerOf(v["yobi1_ID"]);
    book.registered = DateOf(v["tourokubi"]);
    return book;
}

std::vector<CopyInfo> ReadCopies(engine::storage::Connection& data,
                                 const std::vector<int64_t>& ids) {
    auto schema = Described(data, "Book");
    std::vector<CopyInfo> copies;
    for (int64_t id : ids) {
        auto row = BookRow(data, schema, id);
        if (!row) continue;
        BookRowView v{schema, *row};
        CopyInfo copy;
        copy.id = id;
        copy.callNumber = TextOf(v["seikyu"]);
        copy.place = IntegerOf(v["HKN_ID"]);
        copy.closedStack = FlagOf(v["heikaF"]);
        if (FlagOf(v["kashidashiF"])) {
            copy.state = CopyState::OnLoan;
            copy.due = DueDate(data, id);
        } else if (FlagOf(v["kintaiF"])) {
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
