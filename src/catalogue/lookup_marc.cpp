// LookupMarc: the book of an ISBN from the local MARC source.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "catalogue/lookup.h"
#include "catalogue/lookup_record.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"
#include "catalogue/marc_source.h"
#include "platform/cp932.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kNotConnected =
    "日書連MARCのデータに接続できません。原因は次のようなことが考えられます。\r\n"
    "　①　司書ツールがインストールされていますか。\r\n"
    "　②　司書ツールのバージョンが2006年以前の場合は別紙説明書のような操作を行ってください。";
constexpr const char* kSearchError = "検索中にエラーが発生しました。\r\n";
constexpr const char* kNotFound = "該当する図書がありませんでした。";

// The ISBN-10 of digits 4 to 12; "" when the text has fewer than twelve.
std::string Isbn10Of(const std::string& digits) {
    return digits.size() < 12 ? std::string() : Isbn10(digits.substr(3, 9));
}

struct MarcClass {
    std::string label;    // "絵本", "洋書" or ""
    long long whole = 0;  // integer part of the classification
    long long division = 0;
};

// The classification: "E" picture books, "Y" foreign books, else a decimal
// number; one that cannot be read (or beyond 32 bits) counts as 990.
MarcClass Classify(std::string k) {
    MarcClass c;
    if (k == "E") c.label = "絵本", k = "913";
    if (k == "Y") c.label = "洋書", k = "933";
    std::string kept;
    for (char ch : k)
        if (ch == '.' || (ch >= '0' && ch <= '9')) kept += ch;
    if (kept.empty()) return c;
    const std::size_t dot = kept.find('.');
    const bool oneDot = dot == std::string::npos || kept.find('.', dot + 1) == std::string::npos;
    const double f = oneDot && kept != "." ? std::strtod(("0" + kept).c_str(), nullptr) : -1;
    if (f < 0 || f >= 2147483648.0) {
        c.whole = c.division = 990;
        return c;
    }
    c.whole = static_cast<long long>(f);
    c.division = c.whole / 10 * 10;
    return c;
}

// The pieces of the author text: "//" separates them, a piece takes at most
// 30 bytes and never ends in the first byte of a double-byte character.
std::vector<std::string> AuthorPieces(std::string a) {
    std::vector<std::string> pieces;
    while (!a.empty()) {
        if (a.rfind("//", 0) == 0) {
            a.erase(0, 2);
            continue;
        }
        const std::size_t sep = a.find("//");
        std::size_t length =
            sep != std::string::npos && sep < 30 ? sep : std::min<std::size_t>(30, a.size());
        if (length > 0 && IsLeadByteAt(a, length - 1)) --length;
        pieces.push_back(a.substr(0, length));
        a.erase(0, std::max<std::size_t>(length, 1));  // a lone lead byte is consumed
    }
    return pieces;
}

// Cut to 60 bytes, or 59 when byte 60 starts a double-byte character.
std::string Cut60(const std::string& t) {
    if (t.size() <= 60) return t;
    return t.substr(0, IsLeadByteAt(t, 59) ? 59 : 60);
}

void FillRecord(const TSearchMARC& marc, TLookupRecord& r) {
    auto ansi = [](const std::string& utf8) { return platform::ToCp932(utf8); };
    r.SeriesTitle = Cut60(ansi(marc.SeriesName()));
    r.Title = Cut60(ansi(marc.BookTitle()));
    r.Subtitle = Cut60(ansi(marc.SubTitle()));
    const std::vector<std::string> pieces = AuthorPieces(ansi(marc.Authors()));
    std::string* authors[] = {&r.Author1, &r.Author2, &r.Author3, &r.Author4};
    for (std::size_t i = 0; i < pieces.size() && i < 4; ++i) *authors[i] = pieces[i];
    r.TitleReading = ansi(marc.TitleKana());
    r.AuthorReading = ansi(marc.AuthorKana());
    r.Publisher = ansi(marc.PublisherName());
    r.Issued = ansi(marc.IssueDate());
    r.Size = ansi(marc.BookSize());
    r.Pages = ansi(marc.PageCount());
    r.Price = ansi(marc.ListPrice());
}

void WriteClassification(BookRecord& book, const MarcClass& c, const TSearchMARC& marc) {
    char mark[32];
    std::snprintf(mark, sizeof mark, "%.3lld", c.whole);
    const std::string classMark = c.label.empty() ? std::string(mark) : c.label;
    const std::string reading = platform::ToCp932(marc.AuthorKana()).substr(0, 2);
    book.Set("seikyu", classMark + "-" + platform::FromCp932(reading) + "-" + marc.CallSuffix());
    book.Set("biko", std::to_string(c.whole));
    const long long main = c.label == "絵本" ? 11 : c.label == "洋書" ? 12 : c.division / 100;
    book.Set("NDC_ID", std::to_string(c.division));
    book.Set("yobi1_ID", std::to_string(main));
}

// Steps after one record was found: the record, the columns written at
// once, then the empty ones.
void CopyMarcRecord(const TSearchMARC& marc, BookRecord& book) {
    const MarcClass c = Classify(marc.NdcClass());
    book.Edit();
    TLookupRecord& r = LookupRecord();
    FillRecord(marc, r);
    book.Set("syomei3", platform::FromCp932(r.Subtitle));
    WriteClassification(book, c, marc);
    CopyLookupToBook(book);
    if (book.Text("HKN_ID").empty()) book.Set("HKN_ID", "1");
}

// Searches the ISBN-10 and copies the one record found; messages otherwise.
void SearchAndCopy(TSearchMARC& marc, const std::string& isbn10, LookupContext& context) {
    marc.Isbn = isbn10;
    marc.Search();
    if (marc.ErrorFlag() != 0) return context.say(kSearchError + marc.ErrorMessage());
    if (marc.HitCount() != 1) return context.say(kNotFound);
    CopyMarcRecord(marc, context.book);
}

}  // namespace

void LookupMarc(const std::string& isbnDigits, LookupContext& context) {
    LookupRecord().Clear();
    TSearchMARC marc;
    try {
        marc.DataPath = Services().marcDataPath;
        marc.Open();
    } catch (const std::exception&) {
        return context.say(kNotConnected);
    }
    const std::string isbn10 = Isbn10Of(isbnDigits);
    if (isbn10.empty()) return marc.Close();
    // An ISBN outside 978 has no ISBN-10: the one of its digits names another book.
    if (isbnDigits.rfind("978", 0) != 0) {
        marc.Close();
        return context.say(kNotFound);
    }
    SearchAndCopy(marc, isbn10, context);
    marc.Close();
}

}  // namespace kashidashi::catalogue
