// Fonts of the printed reports. The layouts name the fonts the desk was
// designed with; they print with these installed fonts:
//   "メイリオ"      -> Noto Sans CJK JP (fonts-noto-cjk)
//   "ＭＳ 明朝"     -> IPAMincho (fonts-ipafont)
//   "ＭＳ ゴシック" -> IPAGothic (fonts-ipafont)
// Any other name is used as it stands.
//
// TextMetrics measures texts in millimetres, the same on every device: the
// renderer breaks and places the lines, the painters only draw them.
#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <vector>

#include "reports/layout.h"

namespace kashidashi::reports {

QString InstalledFamily(const std::string& layoutName);
// The font at its point size (unhinted, so that widths scale with the device).
QFont ReportFont(const FontStyle& style);

// Line spacing and the baseline inside a line, as fractions of the em.
constexpr double kLineSpacing = 1.2;
constexpr double kBaselineInLine = 0.98;
inline double EmMm(const FontStyle& font) {
    return font.size * kMmPerInch / 72.0;
}
inline double LineHeightMm(const FontStyle& font) {
    return EmMm(font) * kLineSpacing;
}

class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    virtual double WidthMm(const QString& text, const FontStyle& font) const = 0;
};

// Measures with the installed fonts (Qt Gui; no window needed).
const TextMetrics& FontMetrics();

// Breaks `text` into lines no wider than `widthMm` (at explicit line breaks,
// after a blank where one is near, else between any two characters). A
// single character wider than the width stands alone on its line.
std::vector<QString> BreakLines(const QString& text, const FontStyle& font, double widthMm,
                                const TextMetrics& metrics);

}  // namespace kashidashi::reports
