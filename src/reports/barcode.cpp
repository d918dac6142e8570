#include "reports/barcode.h"

#include <algorithm>
#include <cctype>

#include "reports/code39.h"
#include "reports/nw7.h"

namespace kashidashi::reports {
namespace {

// The symbol's characters with their start and stop characters.
std::optional<std::vector<std::string_view>> Patterns(std::string_view text, Symbology symbology) {
    std::vector<std::string_view> patterns;
    const bool nw7 = symbology == Symbology::Nw7;
    if (!nw7 && text.find('*') != std::string_view::npos) return std::nullopt;
    if (nw7 && std::any_of(text.begin(), text.end(),
                           [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const std::string symbol = nw7 ? "A" + std::string(text) + "A" : "*" + std::string(text) + "*";
    for (char c : symbol) {
        auto pattern = nw7 ? Nw7Pattern(c) : Code39Pattern(c);
        if (!pattern) return std::nullopt;
        patterns.push_back(*pattern);
    }
    return patterns;
}

}  // namespace

std::optional<Symbol> MakeSymbol(std::string_view text, const BarcodeForm& form) {
    auto patterns = Patterns(text, form.symbology);
    if (!patterns) return std::nullopt;
    Symbol symbol;
    double at = form.quiet;
    for (size_t c = 0; c < patterns->size(); ++c) {
        if (c > 0) at += 1;  // the narrow space between two characters
        const std::string_view pattern = (*patterns)[c];
        for (size_t i = 0; i < pattern.size(); ++i) {
            const double width = pattern[i] == 'w' ? form.ratio : 1.0;
            if (i % 2 == 0) symbol.bars.push_back({at, width});
            at += width;
        }
    }
    symbol.units = at + form.quiet;
    return symbol;
}

std::optional<Symbology> SymbologyOf(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "code39") return Symbology::Code39;
    if (lower == "nw7" || lower == "nw-7" || lower == "codabar") return Symbology::Nw7;
    return std::nullopt;
}

std::string SymbologyName(Symbology symbology) {
    return symbology == Symbology::Nw7 ? "nw7" : "code39";
}

}  // namespace kashidashi::reports
