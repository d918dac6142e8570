#include "catalogue/background_lookup.h"

#include <set>

#include "catalogue/book_record.h"
#include "engine/dataset/dataset.h"
#include "widgets/thread_run.h"

namespace kashidashi::catalogue {
namespace {

// The book's data columns as text, for the lookup's thread; remembers what
// the lookup set.
class BookCopy : public BookRecord {
  public:
    explicit BookCopy(engine::TDataSet& book) {
        for (int i = 0; i < book.FieldCount(); ++i) {
            const engine::TField& field = book.Fields(i);
            if (field.fieldKind == engine::FieldKind::fkData)
                columns_.Set(field.FieldName(), field.AsString());
        }
    }
    void Edit() override { edited_ = true; }
    std::string Text(std::string_view column) const override { return columns_.Text(column); }
    void Set(std::string_view column, const std::string& text) override {
        columns_.Set(column, text);
        set_.emplace(column);
    }
    void WriteInto(BookRecord& book) const {
        if (edited_) book.Edit();
        for (const std::string& column : set_) book.Set(column, columns_.Text(column));
    }

  private:
    MemoryBookRecord columns_;
    std::set<std::string> set_;
    bool edited_ = false;
};

}  // namespace

void RunInBackground(const Lookup& lookup, const std::string& isbnDigits, engine::TDataSet& book,
                     const std::function<void(const std::string& message)>& say) {
    BookCopy copy(book);
    // The window stays enabled: its input waits until the lookup has ended.
    RunOnThread(
        [&](const WaitingThread& window) {
            LookupContext context{copy, [&](const std::string& message) {
                                      // Shown on the window's thread; the lookup waits for it.
                                      window.Call([&] { say(message); });
                                  }};
            lookup(isbnDigits, context);
        },
        QEventLoop::ExcludeUserInputEvents);
    DataSetBookRecord target(book);
    copy.WriteInto(target);
}

}  // namespace kashidashi::catalogue
