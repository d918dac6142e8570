// libFuzzer target for what the ISBN lookups make of a service's answer:
// Utf8ToAnsi, the national library's record link and record scan, the
// Rakuten scan, and the ordered scanners themselves.
//
// An answer that is not UTF-8 must raise Utf8Error and nothing else; the
// text of one that is must be whole CP932 characters. Every value cut to a
// byte count must keep its bound and, on decoded text, never split a
// double-byte character; a record link must begin with the service's own
// book address and end in "-00.json". Anything else (another exception, a
// crash, a sanitizer report) is a finding. Raw, undecoded bytes are scanned
// as well, for the bounds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/answer_scan.h"
#include "catalogue/lookup_text.h"
#include "platform/cp932.h"

namespace {

using namespace kashidashi::catalogue;

constexpr const char* kBase = "https://ndlsearch.ndl.go.jp";

// True when the CP932 text read from its start ends on a character boundary.
bool Whole(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size())
        pos += platform::IsCp932LeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return pos == text.size();
}

void CheckAddress(const std::string& text) {
    const std::string address = NdlRecordAddress(text, kBase);
    if (address.empty()) return;
    const std::string head = std::string(kBase) + "/books";
    const std::string tail = "-00.json";
    if (address.compare(0, head.size(), head) != 0) std::abort();
    if (address.size() < head.size() + tail.size()) std::abort();
    if (address.compare(address.size() - tail.size(), tail.size(), tail) != 0) std::abort();
    if (address.find_first_of("<>\" \r\n") != std::string::npos) std::abort();
}

void CheckScans(std::string text, bool decoded) {
    for (char& c : text)
        if (c == ',') c = ' ';
    TLookupRecord r;
    ScanNdlRecord(text, r);
    if (r.Title.size() > 60 || r.Subtitle.size() > 120) std::abort();
    if (decoded && (!Whole(r.Title) || !Whole(r.Subtitle))) std::abort();
    r.Clear();
    ScanRakutenItem(text, r);
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
    std::string text;
    bool decoded = true;
    try {
        text = Utf8ToAnsi(bytes);
        if (!Whole(text)) std::abort();
    } catch (const Utf8Error&) {
        text = bytes;
        decoded = false;
    }
    CheckAddress(text);
    CheckScans(text, decoded);
    const std::string digits = DigitsOnly(text);
    if (digits.size() >= 12 && Isbn13(digits).size() != 13) std::abort();
    if (digits.size() >= 9 && Isbn10(digits).size() != 10) std::abort();
    return 0;
}
