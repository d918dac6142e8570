// The ISBN form of the book entries: copies of one title share the ISBN, so
// a scanned ISBN names the first copy in ISBN order (among copies on the
// shelf, for lending).
#include "data/U_DM.h"
#include "desk/desk.h"

namespace kashidashi::desk {
namespace {

// Puts BOOK back on its primary index, unfiltered, however the search ended.
class BookIndexRestorer {
  public:
    explicit BookIndexRestorer(engine::TDBTable& book) : book_(book) {}
    ~BookIndexRestorer() {
        try {
            book_.Close();
            book_.SetFiltered(false);
            book_.SetFilter("");
            book_.SetIndexName("");
        } catch (...) {
            // Setting a closed table's index and filter cannot fail.
        }
    }

  private:
    engine::TDBTable& book_;
};

}  // namespace

std::optional<int64_t> Desk::FindBookByIsbn(const std::string& isbn12, bool notLent) {
    auto& book = TDM::Instance().BOOK;
    BookIndexRestorer restorer(book);
    book.Close();
    book.SetIndexName("ISBN");
    book.SetFilter(notLent ? "kashidashiF<>True" : "");
    book.SetFiltered(notLent);
    book.Open();
    if (!book.FindKey({engine::Value(isbn12)})) return std::nullopt;
    return book.FieldByName("BOOK_ID").AsInteger();
}

}  // namespace kashidashi::desk
