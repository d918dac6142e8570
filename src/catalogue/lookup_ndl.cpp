// LookupNdl: the National Diet Library search by ISBN, in one request: the
// fields come from the first book of the OpenSearch answer itself.
#include "catalogue/answer_read.h"
#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kSearchFailed = "B.国会図書館からの引当が出来ませんでした。";
constexpr const char* kNoRecord = "A.国会図書館からの引当が出来ませんでした。";
constexpr const char* kNoTitle = "C.国会図書館からの引当が出来ませんでした。";

}  // namespace

void LookupNdl(const std::string& isbnDigits, LookupContext& context) {
    const LookupServices& services = Services();
    if (!DownloadAnswer(services.ndlBase + "/api/opensearch?isbn=" + Isbn13(isbnDigits)))
        Abandon(context, kSearchFailed);
    TLookupRecord found;
    const AnswerKind kind = ReadNdlAnswer(ReadAnswerFile(services.answerFile), found);
    if (kind == AnswerKind::NoBook) Abandon(context, kNoRecord);
    // A broken answer holds no book we could trust: nothing is copied.
    if (kind == AnswerKind::Broken) Abandon(context, kNoTitle);
    LookupRecord() = found;
    if (found.Title.empty() && found.SeriesTitle.empty()) Abandon(context, kNoTitle);
    CopyLookupToBook(context.book);
}

}  // namespace kashidashi::catalogue
