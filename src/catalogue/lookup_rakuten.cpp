// LookupRakuten: the Rakuten Books search API by ISBN.
#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"
#include "data/utilities.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kRequestFailed = "A.楽天からの引当が出来ませんでした。";
constexpr const char* kNoTitle = "B.楽天からの引当が出来ませんでした。";

// Author1 before the first "/", Author2 and Author3 the same way from the
// rest; Author4 whatever follows the third "/", further "/" included.
void SplitAuthors(std::string a, TLookupRecord& r) {
    for (std::string* author : {&r.Author1, &r.Author2, &r.Author3}) {
        const std::size_t slash = a.find('/');
        if (slash == std::string::npos) {
            *author = a;
            return;
        }
        *author = a.substr(0, slash);
        a.erase(0, slash + 1);
    }
    r.Author4 = a;
}

void ScanItem(std::string text, TLookupRecord& r) {
    r.Title = ScanValue(text, "\"Items\":[{\"Item\":{\"title\":\"");
    r.TitleReading = ScanValue(text, "\"titleKana\":\"");
    r.Subtitle = ScanValue(text, "\"subTitle\":\"");
    r.SeriesTitle = ScanValue(text, "\"seriesName\":\"");
    SplitAuthors(ScanValue(text, "author\":\""), r);
    r.AuthorReading = ScanValue(text, "\"authorKana\":\"");
    r.Publisher = ScanValue(text, "\"publisherName\":\"");
    r.Size = ScanValue(text, "\"size\":\"");
    r.Caption = ScanValue(text, "\"itemCaption\":\"");
    r.Issued = ScanValue(text, "\"salesDate\":\"");
    r.Price = ScanValue(text, "\"listPrice\":");
    r.Url = ScanValue(text, "\"itemUrl\":\"");
}

}  // namespace

void LookupRakuten(const std::string& isbnDigits, LookupContext& context) {
    const LookupServices& services = Services();
    const std::string url = services.rakutenBase +
                            "/services/api/BooksBook/Search/20121128?format=json&isbn=" +
                            Isbn13(isbnDigits) +
                            "&booksGenreId=001&applicationId=" + services.rakutenApplicationId;
    if (!DownloadAnswer(url)) Abandon(context, kRequestFailed);
    TLookupRecord& r = LookupRecord();
    r.Clear();
    ScanItem(CommaToBlank(Utf8ToAnsi(ReadAnswerLines(services.answerFile))), r);
    if (r.Title.empty()) {
        if (context.say) context.say(kNoTitle);
        return;
    }
    CopyLookupToBook(context.book);
}

}  // namespace kashidashi::catalogue
