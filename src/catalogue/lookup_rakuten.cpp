// LookupRakuten: the Rakuten Books search API by ISBN.
#include "catalogue/answer_read.h"
#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kRequestFailed = "A.楽天からの引当が出来ませんでした。";
constexpr const char* kNoTitle = "B.楽天からの引当が出来ませんでした。";

}  // namespace

void LookupRakuten(const std::string& isbnDigits, LookupContext& context) {
    const LookupServices& services = Services();
    const std::string url =
        services.rakutenBase +
        "/services/api/BooksBook/Search/20121128?format=json&isbn=" + Isbn13(isbnDigits) +
        "&booksGenreId=001&applicationId=" + services.rakutenApplicationId;
    if (!DownloadAnswer(url)) Abandon(context, kRequestFailed);
    TLookupRecord found;
    // No book, no title and a broken answer alike: the message, nothing copied.
    if (ReadRakutenAnswer(ReadAnswerFile(services.answerFile), found) != AnswerKind::Book) {
        LookupRecord().Clear();
        if (context.say) context.say(kNoTitle);
        return;
    }
    LookupRecord() = found;
    CopyLookupToBook(context.book);
}

}  // namespace kashidashi::catalogue
