#include "engine/common/names.h"

#include <algorithm>

namespace engine {
namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string LowerName(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

std::vector<std::string> SplitNames(std::string_view list) {
    std::vector<std::string> out;
    while (!list.empty()) {
        size_t cut = list.find(';');
        auto part = Trim(list.substr(0, cut));
        if (!part.empty()) out.emplace_back(part);
        if (cut == std::string_view::npos) break;
        list.remove_prefix(cut + 1);
    }
    return out;
}

}  // namespace engine
