#include "library/year/rollover_input.h"

#include <algorithm>
#include <set>

#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "exchange/csv_file.h"
#include "exchange/import_rules.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

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

std::string Trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::optional<size_t> HeaderIndex(const exchange::CsvRecord& header, const char* column) {
    for (size_t i = 0; i < header.fields.size(); ++i)
        if (engine::SameName(Trimmed(header.fields[i]), column)) return i;
    return std::nullopt;
}

const engine::Value* CellOf(const exchange::Cells& cells, const char* column) {
    for (const auto& [name, value] : cells)
        if (engine::SameName(name, column)) return &value;
    return nullptr;
}

std::string Text(const engine::Value* value) {
    return value && value->IsText() ? value->Text() : std::string();
}

// The raw pupil number of each line, to see one that would be cut.
std::map<int, std::string> RawPupilNumbers(const exchange::CsvText& csv) {
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
    explicit ListChecker(std::map<int, std::string> raw) : raw_(std::move(raw)) {}

    // The user of a row, or its problems.
    std::optional<ListedUser> Check(const exchange::ImportRow& row,
                                    std::vector<RolloverProblem>& out) {
        ListedUser user{"",
                        row.line,
                        engine::ValueText(row.key),
                        Text(CellOf(row.cells, "seito_No")),
                        Text(CellOf(row.cells, "NAME")),
                        0,
                        row.cells};
        size_t before = out.size();
        CheckPupilNo(user, out);
        const engine::Value* code = CellOf(row.cells, "syozoku_ID");
        if (!code || !code->IsInteger())
            out.push_back({row.line, "所属コード（syozoku_ID）が空です"});
        else
            user.classCode = code->Integer();
        if (out.size() != before) return std::nullopt;
        return user;
    }

  private:
    void CheckPupilNo(const ListedUser& user, std::vector<RolloverProblem>& out) {
        std::string raw = Trimmed(HalfWidthDigits(raw_[user.line]));
        if (raw.empty()) return out.push_back({user.line, "生徒番号（seito_No）が空です"});
        if (platform::Cp932ByteLength(raw) > kPupilNoBytes)
            return out.push_back({user.line, "生徒番号「" + raw + "」は長すぎます（5桁まで）"});
        auto [seen, added] = pupilLines_.emplace(user.pupilNo, user.line);
        if (!added)
            out.push_back({user.line, "生徒番号「" + user.pupilNo + "」は " +
                                          std::to_string(seen->second) + "行目と重複しています"});
    }

    std::map<int, std::string> raw_;
    std::map<std::string, int> pupilLines_;
};

std::vector<RolloverProblem> MissingColumns(const exchange::CsvText& csv) {
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

// Numbers may be typed with full-width digits: they are read as digits.
bool IsNumberColumn(const engine::storage::TableSchema& table, const std::string& name) {
    if (engine::SameName(name, "NAME_ID") || engine::SameName(name, "seito_No")) return true;
    auto index = table.FindColumn(name);
    return index && table.columns[*index].type.type != engine::FieldType::String;
}

// A text that would be stored otherwise than written (a "?" for a character
// code page 932 lacks, or cut to its column) is a problem of its line.
void CheckTexts(const engine::storage::TableSchema& table, exchange::CsvText& csv,
                std::vector<RolloverProblem>& out) {
    const auto& header = csv.records.front().fields;
    for (size_t r = 1; r < csv.records.size(); ++r) {
        auto& record = csv.records[r];
        for (size_t i = 0; i < header.size() && i < record.fields.size(); ++i) {
            const std::string name = Trimmed(header[i]);
            if (IsNumberColumn(table, name)) {
                record.fields[i] = HalfWidthDigits(record.fields[i]);
                continue;
            }
            auto index = table.FindColumn(name);
            if (!index) continue;  // import-users says so
            const auto& column = table.columns[*index];
            const std::string& text = record.fields[i];
            const std::string lacking = FirstCharacterCp932Lacks(text);
            if (!lacking.empty())
                out.push_back({record.line, column.name + "「" + text + "」の「" + lacking +
                                                "」は Shift-JIS（CP932）で書けない文字です"});
            else if (platform::Cp932ByteLength(text) > static_cast<size_t>(column.type.size))
                out.push_back({record.line, column.name + "「" + text + "」は長すぎます（" +
                                                std::to_string(column.type.size) +
                                                " バイトまで。全角は 1 文字 2 バイト）"});
        }
    }
}

void SortByLine(std::vector<RolloverProblem>& problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
}

RolloverInput ReadOneList(std::string_view bytes, const engine::storage::TableSchema& nameTable) {
    RolloverInput input;
    if (LooksUtf16(bytes)) {
        input.problems.push_back({1,
                                  "文字コードが UTF-16 のファイルです。UTF-8 か Shift-JIS の "
                                  "CSV で保存し直してください"});
        return input;
    }
    for (int line : UnreadableLines(bytes))
        input.problems.push_back(
            {line, "文字コードが読めません（UTF-8 か Shift-JIS で保存してください）"});
    if (!input.problems.empty()) return input;
    auto csv = exchange::ParseCsv(exchange::DecodeCsvBytes(bytes));
    input.problems = MissingColumns(csv);
    if (!input.problems.empty()) return input;
    if (!csv.records.empty()) CheckTexts(nameTable, csv, input.problems);
    auto plan = exchange::PlanImport(exchange::UsersTarget(), nameTable, csv);
    for (const auto& rejection : plan.rejections)
        input.problems.push_back({rejection.line, rejection.reason});
    ListChecker checker(RawPupilNumbers(csv));
    for (const auto& row : plan.rows)
        if (auto user = checker.Check(row, input.problems)) input.users.push_back(std::move(*user));
    // A list of nobody would remove every user: surely the wrong file.
    if (csv.records.size() < 2 && input.problems.empty())
        input.problems.push_back({csv.records.empty() ? 1 : csv.records.front().line + 1,
                                  "名簿に利用者の行がありません"});
    SortByLine(input.problems);
    return input;
}

// A fixed or pupil number that two lists give.
void CheckAcross(RolloverInput& input) {
    std::map<std::string, const ListedUser*> ids, numbers;
    auto once = [&](std::map<std::string, const ListedUser*>& seen, const std::string& key,
                    const char* what, const ListedUser& user) {
        auto [first, isNew] = seen.emplace(key, &user);
        if (!isNew)
            input.problems.push_back(
                {user.line,
                 std::string(what) + "「" + key + "」は " + first->second->file + " の " +
                     std::to_string(first->second->line) + "行目と重複しています",
                 user.file});
    };
    for (const auto& user : input.users) {
        once(ids, user.nameId, "固定番号", user);
        once(numbers, user.pupilNo, "生徒番号", user);
    }
}

}  // namespace

bool LooksUtf16(std::string_view bytes) {
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return true;
    return bytes.find('\0') != std::string_view::npos;
}

std::string HalfWidthDigits(std::string_view text) {
    // ０ is EF BC 90 ... ９ EF BC 99 in UTF-8.
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && text[i] == '\xEF' && text[i + 1] == '\xBC' &&
            static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90));
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string FirstCharacterCp932Lacks(std::string_view utf8) {
    size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 1;
        std::string_view character = utf8.substr(at, length);
        at += length;
        if (lead < 0x80) continue;
        if (platform::NormaliseToCp932(character) == "?") return std::string(character);
    }
    return {};
}

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

RolloverInput ReadRolloverLists(const std::vector<RolloverFile>& files,
                                const engine::storage::TableSchema& nameTable) {
    RolloverInput all;
    const bool named = files.size() > 1;
    for (const auto& file : files) {
        auto one = ReadOneList(file.bytes, nameTable);
        for (auto& problem : one.problems) {
            if (named) problem.file = file.name;
            all.problems.push_back(std::move(problem));
        }
        for (auto& user : one.users) {
            if (named) user.file = file.name;
            all.users.push_back(std::move(user));
        }
    }
    if (named && all.problems.empty()) CheckAcross(all);
    return all;
}

}  // namespace kashidashi::library
