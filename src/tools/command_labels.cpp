// labels FOLDER --books FROM-TO | --registered FROM-TO | --list FILE
//        [--spine] [--sheet NAME] [--start N] [--school TEXT]
//        [--barcode code39|nw7] --pdf FILE
// The barcode labels (or with --spine the spine labels) of the chosen books
// as a PDF of label sheets. Exit 0 done (the count on standard error), 1
// failed or no book chosen, 2 wrong use (also a range that is no range, a
// period backwards, a start cell beyond the sheet).
#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "library/data_place.h"
#include "library/labels/labels.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/label_output.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

int Usage(std::ostream& err, const std::string& problem) {
    if (!problem.empty()) err << problem << "\n";
    err << "使い方: kashidashi-admin " << kLabelsUsage << "\n";
    return kExitUsage;
}

// "FROM-TO" parted at its last "-" (dates hold "/" only).
std::optional<std::pair<std::string, std::string>> RangeOf(const std::string& text) {
    auto dash = text.rfind('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 == text.size()) return std::nullopt;
    return std::pair{text.substr(0, dash), text.substr(dash + 1)};
}

// A book number of a range: digits only ("12x", "1.9" and "-3" are no number).
std::optional<int64_t> BookNumberOf(const std::string& text) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(text);
}

std::pair<int64_t, int64_t> BookRange(const std::string& text) {
    auto range = RangeOf(text);
    auto from = range ? BookNumberOf(range->first) : std::nullopt;
    auto to = range ? BookNumberOf(range->second) : std::nullopt;
    if (!from || !to)
        throw WrongUse("--books には 図書番号-図書番号 を書いてください（例 1001-1044）。");
    if (*from > *to)
        throw WrongUse("--books の範囲 " + text + " は逆さまです。小さい番号から書いてください。");
    return {*from, *to};
}

std::pair<engine::Date, engine::Date> RegistrationPeriod(const std::string& text) {
    auto range = RangeOf(text);
    auto from = range ? engine::ParseDate(range->first) : std::nullopt;
    auto to = range ? engine::ParseDate(range->second) : std::nullopt;
    if (!from || !to) throw WrongUse("--registered には yyyy/mm/dd-yyyy/mm/dd を書いてください。");
    if (from->days > to->days)
        throw WrongUse("--registered の期間 " + text + " は逆さまです。前の日から書いてください。");
    return {*from, *to};
}

std::vector<library::LabelBook> ChosenBooks(engine::storage::Connection& connection,
                                            const CommandOptions& options, std::ostream& err) {
    if (auto books = options.Value("--books")) {
        auto [from, to] = BookRange(*books);
        return library::BooksInRange(connection, from, to);
    }
    if (auto period = options.Value("--registered")) {
        auto [from, to] = RegistrationPeriod(*period);
        return library::BooksRegistered(connection, from, to);
    }
    std::vector<int64_t> unknown;
    auto books = library::BooksOfList(
        connection, library::NumbersOfList(ReadListFile(*options.Value("--list"))), unknown);
    for (int64_t number : unknown)
        err << "図書番号 " << desk::BookNumberText(number) << " の本は登録されていません。\n";
    return books;
}

int ChoiceCount(const CommandOptions& options) {
    int count = 0;
    for (const char* option : {"--books", "--registered", "--list"})
        count += !!options.Value(option);
    return count;
}

int Print(const CommandOptions& options, std::ostream& err) {
    const auto symbology = RequireSymbology(options.Value("--barcode"));
    library::PlaceConnection connection(RequirePlace(options.positional[0], true));
    const bool spine = options.flags.count("--spine") > 0;
    auto sheet =
        RequireSheet(*connection, options.Value("--sheet").value_or(spine ? "a4-65" : "a4-44"));
    int start = options.Value("--start") ? StartCell(*options.Value("--start"), sheet) : 0;
    auto books = ChosenBooks(*connection, options, err);
    if (books.empty()) throw AdminError("ラベルを印刷する本がありません。");
    if (spine)
        for (int64_t number : library::WithoutCallNumber(books))
            err << "図書番号 " << desk::BookNumberText(number)
                << " の本には請求記号も NDC もありません（背ラベルには「" << library::kNoCallNumber
                << "」と印刷します）。\n";
    auto report = library::LabelsReport(
        books, spine ? library::LabelKind::Spine : library::LabelKind::Barcode, sheet, start,
        options.Value("--school").value_or(""), symbology);
    WriteLabelsPdf(report, *options.Value("--pdf"));
    err << (spine ? "背ラベル " : "図書ラベル ") << books.size() << " 枚（" << report.pages.size()
        << " ページ）を " << *options.Value("--pdf") << " に書き出しました。\n";
    return kExitDone;
}

}  // namespace

int CommandLabels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    (void)out;
    auto options = ParseOptions(args,
                                {"--books", "--registered", "--list", "--sheet", "--start",
                                 "--school", "--pdf", "--barcode"},
                                {"--spine"});
    if (!options || options->positional.size() != 1) return Usage(err, "");
    if (ChoiceCount(*options) != 1)
        return Usage(err, "本は --books、--registered、--list のどれか一つで選んでください。");
    if (!options->Value("--pdf"))
        return Usage(err, "書き出す PDF ファイルを --pdf で指定してください。");
    return RunCommand(options->positional, 1, kLabelsUsage, err, [&] {
        return UnlessWrongUse(kLabelsUsage, err, [&] { return Print(*options, err); });
    });
}

}  // namespace kashidashi::admin
