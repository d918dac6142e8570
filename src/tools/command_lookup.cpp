// lookup ISBN [--source ndl|rakuten|marc] [--base URL]: what a source knows
// about a book, as the columns the lookup would fill ("column<TAB>value" in
// the book table's order), with no data touched. The lookup's own message
// goes to standard error with status 1. --base replaces the service's base
// address (for marc: the path of the MARC database); an http:// base is then
// allowed as well as https://.
#include <unistd.h>

#include <filesystem>

#include "catalogue/lookup.h"
#include "catalogue/lookup_services.h"
#include "catalogue/lookup_text.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"

namespace kashidashi::admin {
namespace {

using namespace kashidashi::catalogue;

constexpr const char* kBadIsbn = "ISBNは12桁か13桁の数字で入れてください。";
constexpr const char* kColumnOrder[] = {
    "syomei1",    "syomei2",    "syomei3", "cyosya1", "cyosya2", "cyosya3",  "cyosya4",
    "syuppansya", "syuppannen", "ookisa",  "pageSuu", "kakaku",  "seikyu",   "biko",
    "kenmei1",    "NDC_ID",     "HKN_ID",  "key1",    "key2",    "yobi1_ID", "URL"};

struct LookupArgs {
    std::string isbn, source = "ndl", base;
};

bool ParseArgs(const std::vector<std::string>& args, LookupArgs& out) {
    if (args.empty()) return false;
    out.isbn = args[0];
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return false;
        if (args[i] == "--source")
            out.source = args[i + 1];
        else if (args[i] == "--base")
            out.base = args[i + 1];
        else
            return false;
    }
    return out.source == "ndl" || out.source == "rakuten" || out.source == "marc";
}

void PointServices(const LookupArgs& a, LookupServices& s) {
    if (!a.base.empty()) {
        (a.source == "ndl"       ? s.ndlBase
         : a.source == "rakuten" ? s.rakutenBase
                                 : s.marcDataPath) = a.base;
        if (a.base.rfind("http://", 0) == 0) s.allowedSchemes = {"https", "http"};
    }
    s.answerFile =
        (std::filesystem::temp_directory_path() / ("kashidashi-lookup-" + std::to_string(getpid())))
            .string();
}

int RunLookup(const LookupArgs& a, std::ostream& out, std::ostream& err) {
    MemoryBookRecord book;
    std::vector<std::string> messages;
    LookupContext context{book, [&](const std::string& m) { messages.push_back(m); }};
    try {
        (a.source == "ndl"       ? LookupNdl
         : a.source == "rakuten" ? LookupRakuten
                                 : LookupMarc)(DigitsOnly(a.isbn), context);
    } catch (const LookupAbandoned&) {
    }
    for (std::string m : messages) {
        for (std::size_t at; (at = m.find("\r\n")) != std::string::npos;) m.erase(at, 1);
        err << m << "\n";
    }
    if (!messages.empty()) return kExitFailed;
    for (const char* column : kColumnOrder)
        if (book.Columns().count(column)) out << column << "\t" << book.Text(column) << "\n";
    return kExitDone;
}

}  // namespace

int CommandLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LookupArgs a;
    if (!ParseArgs(args, a)) {
        err << "使い方: kashidashi-admin " << kLookupUsage << "\n";
        return kExitUsage;
    }
    const std::string digits = DigitsOnly(a.isbn);
    if (digits.size() != a.isbn.size() || (digits.size() != 12 && digits.size() != 13)) {
        err << kBadIsbn << "\n";
        return kExitFailed;
    }
    const LookupServices saved = Services();
    PointServices(a, Services());
    const int status = RunCommand({}, 0, kLookupUsage, err, [&] { return RunLookup(a, out, err); });
    std::filesystem::remove(Services().answerFile);
    Services() = saved;
    return status;
}

}  // namespace kashidashi::admin
