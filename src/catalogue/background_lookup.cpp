#include "catalogue/background_lookup.h"

#include <QEventLoop>
#include <exception>
#include <set>
#include <thread>

#include "catalogue/book_record.h"
#include "engine/dataset/dataset.h"

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
    QEventLoop loop;
    LookupContext context{copy, [&](const std::string& message) {
                              // Shown on this thread; the lookup waits for it.
                              QMetaObject::invokeMethod(
                                  &loop, [&] { say(message); }, Qt::BlockingQueuedConnection);
                          }};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            lookup(isbnDigits, context);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) std::rethrow_exception(failure);
    DataSetBookRecord target(book);
    copy.WriteInto(target);
}

}  // namespace kashidashi::catalogue
