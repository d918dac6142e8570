// cards FOLDER [--class CODE | --list FILE] [--sheet NAME] [--start N]
//       [--school TEXT] [--barcode code39|nw7] --pdf FILE
// The user cards of a class (of everybody without --class) or of the users
// a list names by the number the desk reads, as a PDF of card or label
// sheets. Exit 0 done, 1 failed or nobody chosen, 2 wrong use.
#include "library/data_place.h"
#include "library/labels/cards.h"
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
    err << "使い方: kashidashi-admin " << kCardsUsage << "\n";
    return kExitUsage;
}

std::optional<int64_t> ClassOf(const std::string& text) {
    try {
        size_t used = 0;
        long long code = std::stoll(text, &used);
        if (used == text.size()) return code;
    } catch (const std::exception&) {
    }
    throw AdminError("--class には所属コード（数字）を書いてください。");
}

// The list's numbers as the desk reads them: five digits in mode 4, six in 5.
std::vector<std::string> ListNumbers(const std::string& text, int mode) {
    std::vector<std::string> numbers;
    for (int64_t number : library::NumbersOfList(text)) {
        std::string digits = std::to_string(number);
        const size_t width = mode == 5 ? 6 : 5;
        if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
        numbers.push_back(digits);
    }
    return numbers;
}

std::vector<library::CardUser> ChosenUsers(engine::storage::Connection& connection,
                                           const CommandOptions& options, int mode,
                                           std::ostream& err) {
    if (auto list = options.Value("--list")) {
        std::vector<std::string> unknown;
        auto users =
            library::UsersOfList(connection, ListNumbers(ReadListFile(*list), mode), mode, unknown);
        for (const auto& number : unknown) err << "利用者番号 " << number << " の人はいません。\n";
        return users;
    }
    auto code = options.Value("--class");
    return library::UsersOfClass(connection, code ? ClassOf(*code) : std::nullopt);
}

int Print(const CommandOptions& options, std::ostream& err) {
    const auto symbology = RequireSymbology(options.Value("--barcode"));
    library::PlaceConnection connection(RequirePlace(options.positional[0], true));
    auto sheet = RequireSheet(*connection, options.Value("--sheet").value_or("card-10"));
    int start = options.Value("--start") ? StartCell(*options.Value("--start"), sheet) : 0;
    const int mode = library::ReadUserNumberMode(*connection);
    auto users = ChosenUsers(*connection, options, mode, err);
    if (users.empty()) throw AdminError("カードを印刷する利用者がいません。");
    auto report = library::CardsReport(users, mode, sheet, start,
                                       options.Value("--school").value_or(""), symbology);
    WriteLabelsPdf(report, *options.Value("--pdf"));
    err << "利用者カード " << users.size() << " 枚（" << report.pages.size() << " ページ）を "
        << *options.Value("--pdf") << " に書き出しました。\n";
    return kExitDone;
}

}  // namespace

int CommandCards(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    (void)out;
    auto options = ParseOptions(
        args, {"--class", "--list", "--sheet", "--start", "--school", "--pdf", "--barcode"});
    if (!options || options->positional.size() != 1) return Usage(err, "");
    if (options->Value("--class") && options->Value("--list"))
        return Usage(err, "--class と --list は一緒に使えません。");
    if (!options->Value("--pdf"))
        return Usage(err, "書き出す PDF ファイルを --pdf で指定してください。");
    return RunCommand(options->positional, 1, kCardsUsage, err, [&] {
        return UnlessWrongUse(kCardsUsage, err, [&] { return Print(*options, err); });
    });
}

}  // namespace kashidashi::admin
