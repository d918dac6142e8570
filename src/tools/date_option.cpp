#include "tools/date_option.h"

#include <regex>

#include "engine/common/dates.h"

namespace kashidashi::admin {

std::optional<engine::Date> DateOption(const std::string& text, std::string& problem) {
    if (auto day = engine::ParseDate(text)) return day;
    static const std::regex shape(R"(\d{4}/\d{1,2}/\d{1,2})");
    problem = std::regex_match(text, shape) ? text + " という日はありません。"
                                            : "日付は yyyy/mm/dd の形で書いてください。";
    return std::nullopt;
}

}  // namespace kashidashi::admin
