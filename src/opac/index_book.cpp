#include "opac/index_book.h"

#include <QString>
#include <cmath>
#include <stdexcept>

#include "data/search_fold.h"
#include "opac/search_index.h"

namespace kashidashi::opac {

namespace {

int Column(const engine::storage::TableSchema& book, const char* name) {
    auto at = book.FindColumn(name);
    if (!at) throw std::runtime_error(std::string("Book に列 ") + name + " がありません。");
    return *at;
}

// A column that older Book tables may lack: -1 then.
int OptionalColumn(const engine::storage::TableSchema& book, const char* name) {
    auto at = book.FindColumn(name);
    return at ? *at : -1;
}

std::string Text(const engine::storage::Row& row, int at) {
    if (at < 0) return {};
    const auto& value = row.values[static_cast<size_t>(at)];
    return value.IsText() ? value.Text() : std::string();
}

bool Flag(const engine::storage::Row& row, int at) {
    if (at < 0) return false;
    const auto& value = row.values[static_cast<size_t>(at)];
    if (value.IsBool()) return value.Bool();
    if (value.IsInteger()) return value.Integer() != 0;
    return false;
}

std::optional<double> Number(const engine::storage::Row& row, int at) {
    if (at < 0) return std::nullopt;
    const auto& value = row.values[static_cast<size_t>(at)];
    if (value.IsFloat()) return value.Float();
    if (value.IsInteger()) return static_cast<double>(value.Integer());
    return std::nullopt;
}

std::string Folded(const std::string& text) {
    return FoldForSearch(QString::fromStdString(text)).toStdString();
}

int64_t Fnv1a(const std::string& text) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return static_cast<int64_t>(hash);
}

}  // namespace

BookColumns::BookColumns(const engine::storage::TableSchema& book)
    : id(Column(book, "BOOK_ID")),
      registered(OptionalColumn(book, "tourokubi")),
      series(OptionalColumn(book, "syomei1")),
      title(Column(book, "syomei2")),
      subtitle(OptionalColumn(book, "syomei3")),
      authors{OptionalColumn(book, "cyosya1"), OptionalColumn(book, "cyosya2"),
              OptionalColumn(book, "cyosya3"), OptionalColumn(book, "cyosya4")},
      publisher(OptionalColumn(book, "syuppansya")),
      ndc(OptionalColumn(book, "NDC_ID")),
      place(OptionalColumn(book, "HKN_ID")),
      lent(OptionalColumn(book, "kashidashiF")),
      notLendable(OptionalColumn(book, "kintaiF")),
      discarded(OptionalColumn(book, "haikiF")),
      deleted(OptionalColumn(book, "sakujoF")),
      titleReading(OptionalColumn(book, "key1")),
      authorReading(OptionalColumn(book, "key2")),
      isbn(OptionalColumn(book, "ISBN")),
      mainClass(OptionalColumn(book, "yobi1_ID")) {}

int ShelfOf(std::optional<int64_t> mainClass, std::optional<double> ndc) {
    if (mainClass == kPictureBooks || mainClass == kForeignBooks)
        return static_cast<int>(*mainClass);
    if (mainClass && *mainClass >= 1 && *mainClass <= 9) return static_cast<int>(*mainClass);
    if (ndc && *ndc > 0 && *ndc < 1000) return static_cast<int>(std::floor(*ndc / 100));
    return -1;
}

std::optional<BookGlance> Glance(const engine::storage::Row& row, const BookColumns& at) {
    if (Flag(row, at.discarded) || Flag(row, at.deleted)) return std::nullopt;
    auto id = Number(row, at.id);
    if (!id) return std::nullopt;
    // The stored values themselves, unfolded: what the index keeps follows
    // from them alone.
    std::string raw;
    for (int column :
         {at.series, at.title, at.subtitle, at.authors[0], at.authors[1], at.authors[2],
          at.authors[3], at.publisher, at.titleReading, at.authorReading, at.isbn})
        raw += Text(row, column) + "\x1e";
    for (int column : {at.mainClass, at.ndc, at.place}) {
        auto number = Number(row, column);
        raw += number ? std::to_string(*number) + "\x1e" : "-\x1e";
    }
    if (at.registered >= 0 && row.values[static_cast<size_t>(at.registered)].IsDate())
        raw += std::to_string(row.values[static_cast<size_t>(at.registered)].DateValue().days);
    raw += Flag(row, at.lent) ? "L" : "l";
    raw += Flag(row, at.notLendable) ? "K" : "k";
    return BookGlance{static_cast<int64_t>(*id), Fnv1a(raw)};
}

std::optional<IndexBook> ReadIndexBook(const engine::storage::Row& row, const BookColumns& at) {
    auto glance = Glance(row, at);
    if (!glance) return std::nullopt;
    IndexBook book;
    book.id = glance->id;
    book.signature = glance->signature;
    std::string title = Text(row, at.title);
    std::string isbn = Text(row, at.isbn);
    book.work = !isbn.empty() ? "i" + isbn
                              : "t" + Folded(title) + "\x1f" + Folded(Text(row, at.authors[0])) +
                                    "\x1f" + Folded(Text(row, at.publisher));
    auto main = Number(row, at.mainClass);
    book.shelf = ShelfOf(main ? std::optional<int64_t>(static_cast<int64_t>(*main)) : std::nullopt,
                         Number(row, at.ndc));
    auto place = Number(row, at.place);
    book.place = place ? static_cast<int64_t>(*place) : -1;
    if (at.registered >= 0 && row.values[static_cast<size_t>(at.registered)].IsDate())
        book.registered = row.values[static_cast<size_t>(at.registered)].DateValue().days;
    std::string reading = Text(row, at.titleReading);
    book.sortKey = Folded(reading.empty() ? title : reading);
    book.lendable = !Flag(row, at.lent) && !Flag(row, at.notLendable);
    for (int column :
         {at.series, at.title, at.subtitle, at.authors[0], at.authors[1], at.authors[2],
          at.authors[3], at.publisher, at.titleReading, at.authorReading, at.isbn})
        book.text += Text(row, column) + "\n";
    return book;
}

}  // namespace kashidashi::opac
