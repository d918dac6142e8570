// CopyLookupToBook: the looked-up record into the book's empty columns.
#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_text.h"
#include "data/utilities.h"
#include "platform/cp932.h"

namespace kashidashi::catalogue {
namespace {

// HW of CP932 text, as UTF-8.
std::string HalfWidth(const std::string& cp932) {
    return ToHalfWidth(platform::FromCp932(cp932));
}

void SetIfEmpty(BookRecord& book, const char* column, const std::string& utf8) {
    if (book.Text(column).empty()) book.Set(column, utf8);
}

// Only "0" to "9" and ",".
std::string ClassDigits(std::string_view text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',') out += c;
    return out;
}

void CopyClassification(BookRecord& book, const TLookupRecord& r) {
    const std::string c = ClassDigits(r.Classification);
    if (!c.empty() && book.Text("NDC_ID").empty()) {
        book.Set("NDC_ID", c.substr(0, 2) + "0");
        book.Set("yobi1_ID", std::string(1, c[0] >= '0' && c[0] <= '9' ? c[0] : '0'));
        const std::string mark = c.substr(0, 3) + "-" + r.AuthorReading.substr(0, 2) + "-";
        book.Set("seikyu", platform::FromCp932(mark));
    }
    if (book.Text("biko").empty()) book.Set("biko", c);
}

}  // namespace

void CopyLookupToBook(BookRecord& book) {
    TLookupRecord& r = LookupRecord();
    r.Price = DigitsOnly(r.Price);
    book.Edit();
    auto text = [](const std::string& cp932) { return platform::FromCp932(cp932); };
    SetIfEmpty(book, "syomei1", text(r.SeriesTitle));
    SetIfEmpty(book, "syomei2", text(r.Title));
    SetIfEmpty(book, "syomei3", text(r.Subtitle));
    SetIfEmpty(book, "key1", HalfWidth(r.TitleReading));
    SetIfEmpty(book, "key2", HalfWidth(r.AuthorReading));
    SetIfEmpty(book, "cyosya1", text(r.Author1));
    SetIfEmpty(book, "cyosya2", text(r.Author2));
    SetIfEmpty(book, "cyosya3", text(r.Author3));
    SetIfEmpty(book, "cyosya4", text(r.Author4));
    SetIfEmpty(book, "syuppansya", text(r.Publisher));
    SetIfEmpty(book, "syuppannen", HalfWidth(r.Issued));
    SetIfEmpty(book, "ookisa", HalfWidth(r.Size));
    SetIfEmpty(book, "pageSuu", HalfWidth(r.Pages));
    SetIfEmpty(book, "kakaku", HalfWidth(r.Price));
    SetIfEmpty(book, "kenmei1", text(r.Caption));
    SetIfEmpty(book, "URL", text(r.Url));
    CopyClassification(book, r);
}

void Abandon(LookupContext& context, const std::string& message) {
    if (context.say) context.say(message);
    throw LookupAbandoned(message);
}

}  // namespace kashidashi::catalogue
