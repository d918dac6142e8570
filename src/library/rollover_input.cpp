#include "library/rollover_input.h"

#include <algorithm>
#include <set>

#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "platform/cp932.h"
#include "platform/utf8.h"
#include "tools/csv_reader.h"
#include "tools/import_rules.h"

namespace kashidashi::library {
namespace {

const char* const kRequired[] = {"NAME_ID", "seito_No", "NAME", "syozoku_ID"};
constexpr size_t kPupilNoBytes = 5;

// Whether a Shift-JIS line is made of Shift-JIS characters only.
bool ReadableCp932(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == 0) return false;
        if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) continue;
        if (!platform::IsCp932LeadByte(byte) || i + 1 >= line.size() ||
            !platform::IsCp932TrailByte(static_cast<unsigned char>(line[i + 1])))
            return false;
        ++i;
    }
    return true;
}

std::optional<size_t> HeaderIndex(const admin::CsvRecord& header, const char* column) {
    for (size_t i = 0; i < header.fields.size(); ++i) {
        std::string name = header.fields[i];
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (engine::SameName(name, column)) return i;
    }
    return std::nullopt;
}

const engine::Value* CellOf(const admin::Cells& cells, const char* column) {
    for (const auto& [name, value] : cells)
        if (engine::SameName(name, column)) return &value;
    return nullptr;
}

std::string Text(const engine::Value* value) {
    return value && value->IsText() ? value->Text() : std::string();
}

// The raw pupil number of each line, to see one that would be cut.
std::map<int, std::string> RawPupilNumbers(const admin::CsvText& csv) {
    std::map<int, std::string> raw;
    if (csv.records.empty()) return raw;
    auto at = HeaderIndex(csv.records.front(), "seito_No");
    if (!at) return raw;
    for (size_t i = 1; i < csv.records.size(); ++i)
        if (*at < csv.records[i].fields.size())
            raw[csv.records[i].line] = csv.records[i].fields[*at];
    return raw;
}

class ListChecker {
  public:
    ListChecker(const std::map<int64_t, std::string>& classes, std::map<int, std::string> raw)
        : classes_(classes), raw_(std::move(raw)) {}

    // The user of a row, or its problems.
    std::optional<ListedUser> Check(const admin::ImportRow& row,
                                    std::vector<RolloverProblem>& out) {
        ListedUser user{row.line,
                        engine::ValueText(row.key),
                        Text(CellOf(row.cells, "seito_No")),
                        Text(CellOf(row.cells, "NAME")),
                        0,
                        row.cells};
        size_t before = out.size();
        CheckPupilNo(user, out);
        CheckClass(row, user, out);
        if (out.size() != before) return std::nullopt;
        return user;
    }

  private:
    void CheckPupilNo(const ListedUser& user, std::vector<RolloverProblem>& out) {
        std::string raw = raw_[user.line];
        raw.erase(0, raw.find_first_not_of(' '));
        raw.erase(raw.find_last_not_of(' ') + 1);
        if (raw.empty()) return out.push_back({user.line, "生徒番号（seito_No）が空です"});
        if (platform::Cp932ByteLength(raw) > kPupilNoBytes)
            return out.push_back({user.line, "生徒番号「" + raw + "」は長すぎます（5桁まで）"});
        auto [seen, added] = pupilLines_.emplace(user.pupilNo, user.line);
        if (!added)
            out.push_back({user.line, "生徒番号「" + user.pupilNo + "」は " +
                                          std::to_string(seen->second) + "行目と重複しています"});
    }

    void CheckClass(const admin::ImportRow& row, ListedUser& user,
                    std::vector<RolloverProblem>& out) {
        const engine::Value* code = CellOf(row.cells, "syozoku_ID");
        if (!code || !code->IsInteger())
            return out.push_back({row.line, "所属コード（syozoku_ID）が空です"});
        if (!classes_.count(code->Integer()))
            return out.push_back({row.line, "所属コード「" + std::to_string(code->Integer()) +
                                                "」は所属（SYOZOKU）にありません"});
        user.classCode = code->Integer();
    }

    const std::map<int64_t, std::string>& classes_;
    std::map<int, std::string> raw_;
    std::map<std::string, int> pupilLines_;
};

std::vector<RolloverProblem> MissingColumns(const admin::CsvText& csv) {
    std::vector<RolloverProblem> problems;
    if (csv.records.empty()) return problems;
    for (const char* column : kRequired)
        if (!HeaderIndex(csv.records.front(), column))
            problems.push_back({csv.records.front().line,
                                std::string("列 ") + column +
                                    " がありません（新年度の名簿には NAME_ID, seito_No, NAME, "
                                    "syozoku_ID が要ります）"});
    return problems;
}

void SortByLine(std::vector<RolloverProblem>& problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
}

}  // namespace

std::vector<int> UnreadableLines(std::string_view bytes) {
    std::vector<int> lines;
    if (platform::utf8::IsValid(bytes) && bytes.find('\0') == std::string_view::npos) return lines;
    int line = 1;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        if (!ReadableCp932(bytes.substr(start, end - start))) lines.push_back(line);
        ++line;
        start = end + 1;
    }
    return lines;
}

RolloverInput ReadRolloverList(std::string_view bytes,
                               const engine::storage::TableSchema& nameTable,
                               const std::map<int64_t, std::string>& classes) {
    RolloverInput input;
    for (int line : UnreadableLines(bytes))
        input.problems.push_back(
            {line, "文字コードが読めません（UTF-8 か Shift-JIS で保存してください）"});
    if (!input.problems.empty()) return input;
    auto csv = admin::ParseCsv(admin::DecodeCsvBytes(bytes));
    input.problems = MissingColumns(csv);
    if (!input.problems.empty()) return input;
    auto plan = admin::PlanImport(admin::UsersTarget(), nameTable, csv);
    for (const auto& rejection : plan.rejections)
        input.problems.push_back({rejection.line, rejection.reason});
    ListChecker checker(classes, RawPupilNumbers(csv));
    for (const auto& row : plan.rows)
        if (auto user = checker.Check(row, input.problems)) input.users.push_back(std::move(*user));
    // A list of nobody would remove every user: surely the wrong file.
    if (csv.records.size() < 2 && input.problems.empty())
        input.problems.push_back({csv.records.empty() ? 1 : csv.records.front().line + 1,
                                  "名簿に利用者の行がありません"});
    SortByLine(input.problems);
    return input;
}

}  // namespace kashidashi::library
