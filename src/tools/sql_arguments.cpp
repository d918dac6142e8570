#include "tools/sql_arguments.h"

#include <charconv>

#include "engine/common/dates.h"
#include "engine/common/names.h"

namespace kashidashi::admin {
namespace {

std::optional<engine::Value> ParseInteger(const std::string& text) {
    int64_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return engine::Value(n);
}

// "NAME=TYPE:VALUE" into `params`; false when it is not of that form.
bool AddParam(const std::string& option, std::map<std::string, engine::Value>& params) {
    size_t equals = option.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    auto value = ParseTypedValue(option.substr(equals + 1));
    if (!value) return false;
    params[engine::LowerName(option.substr(0, equals))] = std::move(*value);
    return true;
}

}  // namespace

std::optional<engine::Value> ParseTypedValue(const std::string& typed) {
    size_t colon = typed.find(':');
    if (colon == std::string::npos) return std::nullopt;
    std::string type = typed.substr(0, colon);
    std::string text = typed.substr(colon + 1);
    if (type == "text") return engine::Value(text);
    if (type == "int") return ParseInteger(text);
    if (type == "date")
        if (auto date = engine::ParseDate(text)) return engine::Value(*date);
    if (type == "datetime")
        if (auto moment = engine::ParseDateTime(text)) return engine::Value(*moment);
    return std::nullopt;
}

std::optional<SqlArguments> ParseSqlArguments(const std::vector<std::string>& args,
                                              std::string& problem) {
    SqlArguments parsed;
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            words.push_back(args[i]);
        } else if (args[i] != "--param") {
            problem = "知らないオプションです: " + args[i];
            return std::nullopt;
        } else if (i + 1 == args.size() || !AddParam(args[i + 1], parsed.params)) {
            problem = i + 1 == args.size() ? "--param の後に NAME=TYPE:VALUE がありません"
                                           : "パラメータの指定が正しくありません: " + args[i + 1];
            return std::nullopt;
        } else {
            ++i;
        }
    }
    if (words.size() != 2) {
        problem = "フォルダと文のテキストを一つずつ指定してください";
        return std::nullopt;
    }
    parsed.folder = words[0];
    parsed.text = words[1];
    return parsed;
}

}  // namespace kashidashi::admin
