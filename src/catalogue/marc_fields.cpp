#include "catalogue/marc_fields.h"

#include <algorithm>

#include "catalogue/lookup_text.h"
#include "platform/utf8.h"

namespace kashidashi::catalogue {
namespace {

std::string Trim(std::string s) {
    static const std::string kPunctuation = " /:;,.=";
    while (!s.empty() && kPunctuation.find(s.back()) != std::string::npos) s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

const MarcField* FirstOf(const MarcRecord& r, std::initializer_list<const char*> tags) {
    for (const char* tag : tags)
        for (const MarcField& f : r)
            if (f.tag == tag) return &f;
    return nullptr;
}

std::string SubOf(const MarcRecord& r, std::initializer_list<const char*> tags, char code) {
    const MarcField* f = FirstOf(r, tags);
    return f ? Trim(f->Sub(code)) : std::string();
}

// The first number of the text ("237 p." gives 237, "22 cm" 22, "¥1,500" 1500).
std::string NumberOf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            out += c;
        else if (c == '.' && !out.empty() && out.find('.') == std::string::npos)
            out += c;
        else if (c != ',' && !out.empty())
            break;
    }
    while (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

// The script of an 880's link ($6 "245-01/$1/r": "$1"), "" when it names none.
std::string ScriptOf(const std::string& link) {
    const std::size_t slash = link.find('/');
    if (slash == std::string::npos) return {};
    return link.substr(slash + 1, link.find('/', slash + 1) - slash - 1);
}

// True when the text holds no kanji: a reading is written in kana. (Records
// of other libraries give the title itself in their CJK 880s.)
bool WithoutKanji(const std::string& text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = platform::utf8::Next(text, pos);
        if ((cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) || cp >= 0x20000)
            return false;
    }
    return true;
}

// The readings of fields of those tags: the $a of each 880 linked ($6) to
// one of them whose script is the CJK one ("$1") or unnamed and whose text
// is kana. A record gives each reading twice, in kana and romanised ("(B");
// only the kana one makes a reading of ours.
std::vector<std::string> Transcriptions(const MarcRecord& r,
                                        std::initializer_list<const char*> tags) {
    std::vector<std::string> out;
    for (const MarcField& f : r) {
        if (f.tag != "880") continue;
        const std::string link = f.Sub('6');
        const std::string script = ScriptOf(link);
        if ((!script.empty() && script != "$1") || !WithoutKanji(f.Sub('a'))) continue;
        for (const char* tag : tags)
            if (link.rfind(tag, 0) == 0) out.push_back(Trim(f.Sub('a')));
    }
    return out;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : separator) + p;
    return out;
}

std::string NdcOf(const MarcRecord& r) {
    for (const MarcField& f : r)
        if (f.tag == "084" && f.Sub('2').rfind("njb", 0) == 0) return Trim(f.Sub('a'));
    return SubOf(r, {"084"}, 'a');
}

std::vector<std::string> AuthorsOf(const MarcRecord& r) {
    std::vector<std::string> names;
    for (const char* tag : {"100", "110", "700", "710"})
        for (const MarcField& f : r)
            if (f.tag == tag && !Trim(f.Sub('a')).empty()) names.push_back(Trim(f.Sub('a')));
    return names;
}

}  // namespace

std::string MarcField::Sub(char code) const {
    for (const auto& [c, value] : subfields)
        if (c == code) return value;
    return {};
}

MarcValues MarcValuesOf(const MarcRecord& r) {
    MarcValues v;
    v["title"] = SubOf(r, {"245"}, 'a');
    v["subtitle"] = SubOf(r, {"245"}, 'b');
    v["series"] = SubOf(r, {"490", "440"}, 'a');
    v["authors"] = Join(AuthorsOf(r), "//");
    v["publisher"] = SubOf(r, {"264", "260"}, 'b');
    v["issue_date"] = SubOf(r, {"264", "260"}, 'c');
    v["page_count"] = NumberOf(SubOf(r, {"300"}, 'a'));
    v["book_size"] = NumberOf(SubOf(r, {"300"}, 'c'));
    v["list_price"] = NumberOf(SubOf(r, {"020"}, 'c'));
    v["ndc"] = NdcOf(r);
    v["call_suffix"] = SubOf(r, {"090"}, 'b');
    const auto titleKana = Transcriptions(r, {"245"});
    v["title_kana"] = titleKana.empty() ? "" : titleKana.front();
    v["author_kana"] = Join(Transcriptions(r, {"100", "110", "700", "710"}), " ");
    return v;
}

std::vector<std::string> MarcIsbn10s(const MarcRecord& r) {
    std::vector<std::string> out;
    for (const MarcField& f : r) {
        if (f.tag != "020") continue;
        std::string s;
        for (char c : f.Sub('a')) {
            if (c == '-') continue;
            if ((c >= '0' && c <= '9') || c == 'X' || c == 'x')
                s += static_cast<char>(std::toupper(c));
            else
                break;
        }
        if (s.size() == 13 && s.rfind("978", 0) == 0 && s.find('X') == std::string::npos) {
            s = Isbn10(s.substr(3, 9));
        }
        if (s.size() == 10 && s.find('X') >= 9 && std::find(out.begin(), out.end(), s) == out.end())
            out.push_back(s);
    }
    return out;
}

}  // namespace kashidashi::catalogue
