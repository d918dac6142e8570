#include <QStringList>
#include <QTextBoundaryFinder>

#include "reports/fonts.h"

namespace kashidashi::reports {
namespace {

// The grapheme clusters of a line, so that no character is split.
std::vector<QString> Characters(const QString& text) {
    std::vector<QString> out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        out.push_back(text.mid(start, end - start));
        start = end;
    }
    return out;
}

// Where to break a too long line: after its last blank in the second half,
// else before the character that did not fit.
qsizetype BreakPoint(const QString& line) {
    qsizetype blank = line.lastIndexOf(u' ');
    return blank > line.size() / 2 ? blank + 1 : line.size();
}

void BreakParagraph(const QString& paragraph, const FontStyle& font, double widthMm,
                    const TextMetrics& metrics, std::vector<QString>& out) {
    if (metrics.WidthMm(paragraph, font) <= widthMm) {
        out.push_back(paragraph);
        return;
    }
    QString line;
    double width = 0;
    for (const QString& character : Characters(paragraph)) {
        double advance = metrics.WidthMm(character, font);
        if (line.isEmpty() || width + advance <= widthMm) {
            line += character;
            width += advance;
            continue;
        }
        qsizetype at = BreakPoint(line);
        out.push_back(line.left(at));
        line = line.mid(at) + character;
        width = metrics.WidthMm(line, font);
    }
    out.push_back(line);
}

}  // namespace

std::vector<QString> BreakLines(const QString& text, const FontStyle& font, double widthMm,
                                const TextMetrics& metrics) {
    std::vector<QString> out;
    if (!text.contains(u'\n') && !text.contains(u'\r')) {
        BreakParagraph(text, font, widthMm, metrics, out);
        return out;
    }
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    for (const QString& paragraph : flat.split(u'\n'))
        BreakParagraph(paragraph, font, widthMm, metrics, out);
    return out;
}

}  // namespace kashidashi::reports
