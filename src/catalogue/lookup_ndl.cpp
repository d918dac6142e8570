// LookupNdl: the National Diet Library search by ISBN.
#include "catalogue/answer_scan.h"
#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"
#include "data/utilities.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kSearchFailed = "B.国会図書館からの引当が出来ませんでした。";
constexpr const char* kNoRecord = "A.国会図書館からの引当が出来ませんでした。";
constexpr const char* kNoTitle = "C.国会図書館からの引当が出来ませんでした。";

}  // namespace

void LookupNdl(const std::string& isbnDigits, LookupContext& context) {
    const LookupServices& services = Services();
    const std::string isbn = Isbn13(isbnDigits);
    if (!DownloadAnswer(services.ndlBase + "/api/opensearch?isbn=" + isbn))
        Abandon(context, kSearchFailed);
    const std::string address =
        NdlRecordAddress(Utf8ToAnsi(ReadAnswerLines(services.answerFile)), services.ndlBase);
    if (address.empty() || !DownloadAnswer(address)) Abandon(context, kNoRecord);
    TLookupRecord& r = LookupRecord();
    r.Clear();
    const std::string text = CommaToBlank(Utf8ToAnsi(ReadAnswerLines(services.answerFile)));
    ScanNdlRecord(text, r);
    if (r.Title.empty() && r.SeriesTitle.empty()) Abandon(context, kNoTitle);
    CopyLookupToBook(context.book);
}

}  // namespace kashidashi::catalogue
