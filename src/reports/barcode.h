// A barcode object's symbol: its bars in narrow units for a symbology, a
// wide-to-narrow ratio and a quiet zone, so that a layout can ask for bars
// a scanner reads reliably on small labels (a ratio of 2.5 or more, ten
// narrow units of white on each side) while the control barcode sheet keeps
// its own size (ratio 2, no quiet zone of its own).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kashidashi::reports {

enum class Symbology { Code39, Nw7 };

struct BarcodeForm {
    Symbology symbology = Symbology::Code39;
    double ratio = 2.0;  // a wide element in narrow ones
    double quiet = 0;    // white on each side, in narrow units
};

struct SymbolBar {
    double start = 0, width = 1;  // in narrow units from the symbol's left end
};

struct Symbol {
    std::vector<SymbolBar> bars;  // the first starts at `form.quiet`
    double units = 0;             // the whole width, both quiet zones included
};

// Nothing when a character of `text` cannot be encoded (or, in NW-7, when
// the text holds a start/stop letter of its own).
std::optional<Symbol> MakeSymbol(std::string_view text, const BarcodeForm& form);

// "code39" / "nw7" as layouts, commands and windows name them.
std::optional<Symbology> SymbologyOf(std::string_view name);
std::string SymbologyName(Symbology symbology);

}  // namespace kashidashi::reports
