// libFuzzer target for what the ISBN lookups make of a service's answer: the
// parsers of the national library's and Rakuten's answers (answer_read.h),
// Utf8ToAnsi and the ordered scanners.
//
// A parser must either say Book and fill the record within the byte rules
// (a title of at most 60 bytes and a subtitle of at most 120, whole CP932
// characters, at most four authors), or leave the record exactly as it was:
// a broken answer is Broken (the lookup's failure message), never half a
// book. An answer that is not UTF-8 must make Utf8ToAnsi raise Utf8Error and
// nothing else. Anything else (another exception, a crash, a sanitizer
// report, memory without bound) is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/answer_read.h"
#include "catalogue/lookup_text.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace {

using namespace kashidashi::catalogue;

// True when the CP932 text read from its start ends on a character boundary.
bool Whole(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size())
        pos += platform::IsCp932LeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return pos == text.size();
}

// A record no answer could give: any change to it shows.
TLookupRecord Marked() {
    TLookupRecord r;
    r.Title = r.Caption = r.Url = "untouched";
    return r;
}

bool Same(const TLookupRecord& a, const TLookupRecord& b) {
    return a.Title == b.Title && a.Subtitle == b.Subtitle && a.SeriesTitle == b.SeriesTitle &&
           a.Author1 == b.Author1 && a.AuthorReading == b.AuthorReading && a.Price == b.Price &&
           a.Pages == b.Pages && a.Size == b.Size && a.Caption == b.Caption && a.Url == b.Url &&
           a.Classification == b.Classification && a.Publisher == b.Publisher;
}

void CheckParser(AnswerKind (*read)(std::string_view, TLookupRecord&), std::string_view bytes,
                 bool cutTitle) {
    TLookupRecord r = Marked();
    const AnswerKind kind = read(bytes, r);
    if (kind != AnswerKind::Book) {
        if (!Same(r, Marked())) std::abort();  // half a book
        return;
    }
    if (!platform::utf8::IsValid(bytes)) std::abort();  // a book from bytes that are not UTF-8
    if (cutTitle && (r.Title.size() > 60 || r.Subtitle.size() > 120)) std::abort();
    if (!Whole(r.Title) || !Whole(r.Subtitle) || !Whole(r.AuthorReading)) std::abort();
}

void CheckScanners(std::string text) {
    std::string copy = text;
    const std::string value = ScanValue(copy, "\"");
    if (copy.size() > text.size() || value.size() > copy.size()) std::abort();
    copy = text;
    const std::string block = ScanBlock(copy, "{", "}");
    if (block.size() > copy.size()) std::abort();
    for (std::size_t i = 0; i < text.size() && i < 256; ++i) (void)IsLeadByteAt(text, i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckParser(ReadNdlAnswer, bytes, true);
    CheckParser(ReadRakutenAnswer, bytes, false);
    std::string text;
    try {
        text = Utf8ToAnsi(bytes);
        if (!Whole(text)) std::abort();
    } catch (const Utf8Error&) {
        text = bytes;
    }
    CheckScanners(text);
    const std::string digits = DigitsOnly(text);
    if (digits.size() >= 12 && Isbn13(digits).size() != 13) std::abort();
    if (digits.size() >= 9 && Isbn10(digits).size() != 10) std::abort();
    return 0;
}
