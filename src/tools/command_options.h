// The words of a command that takes options: positional words, options
// with a value ("--date 2025/06/30") and flags ("--apply"), in any order.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kashidashi::admin {

struct CommandOptions {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // "--date" -> "2025/06/30"
    std::set<std::string> flags;

    std::optional<std::string> Value(const std::string& option) const;
};

// Nothing (wrong use) for an unknown option, an option given twice, or an
// option whose value is missing.
std::optional<CommandOptions> ParseOptions(const std::vector<std::string>& args,
                                           const std::set<std::string>& valueOptions,
                                           const std::set<std::string>& flagOptions = {});

}  // namespace kashidashi::admin
