// The scanning of the two services' answers (decoded, commas blanked).
#include "catalogue/answer_scan.h"

#include <algorithm>
#include <cctype>

#include "catalogue/lookup_text.h"
#include "platform/cp932.h"
#include "platform/half_width.h"

namespace kashidashi::catalogue {
namespace {

bool IsUrlCharacter(unsigned char c) {
    return std::isalnum(c) ||
           std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(static_cast<char>(c)) !=
               std::string_view::npos;
}

// HW of CP932 text, back in CP932.
std::string HalfWidthBytes(const std::string& cp932) {
    return platform::ToCp932(platform::MapToHalfWidthCut255(platform::FromCp932(cp932)));
}

void ScanTitle(std::string& text, TLookupRecord& r) {
    const std::string t = ScanValue(text, "\"title\":[{\"value\":\"");
    if (t.size() <= 60) {
        r.Title = t;
    } else if (IsLeadByteAt(t, 59)) {
        r.Title = t.substr(0, 59);
        r.Subtitle = t.substr(59, 120);
    } else {
        r.Title = t.substr(0, 60);
        r.Subtitle = t.substr(60, 120);
    }
    r.TitleReading = ScanValue(text, "\"transcription\":\"");
    r.SeriesTitle = ScanValue(text, "\"seriesTitle\":[{\"value\":\"");
    r.SeriesTitle += ScanValue(text, "\"edition\":[\"");
}

void ScanCreators(std::string& text, TLookupRecord& r) {
    std::string block = ScanBlock(text, "\"creator\":[{", "\"dc_creator\"");
    for (std::string* author : {&r.Author1, &r.Author2, &r.Author3, &r.Author4}) {
        *author = ScanValue(block, "\"name\":\"");
        const std::string reading = ScanValue(block, "\"transcription\":\"");
        if (!reading.empty()) r.AuthorReading += reading + "/ ";
    }
}

std::string ScanClassification(std::string& text) {
    ScanValue(text, "\"NDLC\":[\"");
    std::string c = ScanValue(text, "NDC8\":[\"");
    if (c.empty()) c = ScanValue(text, "NDC9\":[\"");
    if (c.empty()) c = ScanValue(text, "NDC\":[\"");
    return c;
}

// The first run of digits; groups of three after a blank (a thousands
// separator that became a blank) join it.
std::string FirstNumber(const std::string& p) {
    std::size_t pos = p.find_first_of("0123456789");
    if (pos == std::string::npos) return {};
    std::string out;
    for (;;) {
        const std::size_t end = std::min(p.find_first_not_of("0123456789", pos), p.size());
        out += p.substr(pos, end - pos);
        const bool group =
            end + 4 <= p.size() && p[end] == ' ' && DigitsOnly(p.substr(end + 1, 3)).size() == 3 &&
            (end + 4 == p.size() || !std::isdigit(static_cast<unsigned char>(p[end + 4])));
        if (!group) return out;
        pos = end + 1;
    }
}

void ScanExtent(std::string& text, TLookupRecord& r) {
    std::string e = platform::FromCp932(ScanValue(text, "\"extent\":[\""));
    e = platform::MapToHalfWidthCut255(e);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    e = platform::ToCp932(e);
    const std::size_t p = e.find('p');
    if (p != std::string::npos) {
        r.Pages = e.substr(0, p);
        e.erase(0, std::min(e.size(), p + 4));
    }
    const std::size_t cm = e.find("cm");
    if (cm != std::string::npos) e.erase(cm, 2);
    r.Size = e;
}

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

}  // namespace

// The JSON address of the first record the search answer links to: the
// link ends at its first character that cannot be part of an address and
// is cut after its first "-00"; "" when there is no such link.
std::string NdlRecordAddress(const std::string& answer, const std::string& base) {
    const std::size_t start = answer.find(base + "/books");
    if (start == std::string::npos) return {};
    std::size_t end = start;
    while (end < answer.size() && IsUrlCharacter(static_cast<unsigned char>(answer[end]))) ++end;
    const std::string link = answer.substr(start, end - start);
    const std::size_t mark = link.find("-00");
    return mark == std::string::npos ? std::string() : link.substr(0, mark + 3) + ".json";
}

void ScanNdlRecord(std::string text, TLookupRecord& r) {
    ScanTitle(text, r);
    ScanCreators(text, r);
    r.Publisher = ScanValue(text, "\"publisher\":[{\"name\":\"");
    r.Issued = ScanValue(text, "\"issued\":[\"");
    r.Classification = ScanClassification(text);
    r.Price = FirstNumber(HalfWidthBytes(ScanValue(text, "\"price\":\"")));
    ScanExtent(text, r);
}

void ScanRakutenItem(std::string text, TLookupRecord& r) {
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

}  // namespace kashidashi::catalogue
