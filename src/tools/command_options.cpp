#include "tools/command_options.h"

namespace kashidashi::admin {

std::optional<std::string> CommandOptions::Value(const std::string& option) const {
    auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

std::optional<CommandOptions> ParseOptions(const std::vector<std::string>& args,
                                           const std::set<std::string>& valueOptions,
                                           const std::set<std::string>& flagOptions) {
    CommandOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            options.positional.push_back(word);
        } else if (flagOptions.count(word)) {
            if (!options.flags.insert(word).second) return std::nullopt;
        } else if (valueOptions.count(word) && i + 1 < args.size()) {
            if (!options.values.emplace(word, args[++i]).second) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace kashidashi::admin
