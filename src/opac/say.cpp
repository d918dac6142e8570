#include "opac/say.h"

#include <QString>

namespace kashidashi::opac {

namespace {

// Calls `plain(text)` and `ruby(base, reading)` for the parts of a text in
// order.
template <class Plain, class Ruby>
void Walk(std::string_view annotated, Plain plain, Ruby ruby) {
    size_t at = 0;
    while (at < annotated.size()) {
        size_t open = annotated.find('{', at);
        size_t bar = open == std::string_view::npos ? open : annotated.find('|', open);
        size_t close = bar == std::string_view::npos ? bar : annotated.find('}', bar);
        if (close == std::string_view::npos) {
            plain(annotated.substr(at));
            return;
        }
        plain(annotated.substr(at, open - at));
        ruby(annotated.substr(open + 1, bar - open - 1),
             annotated.substr(bar + 1, close - bar - 1));
        at = close + 1;
    }
}

}  // namespace

Html Say(std::string_view annotated, bool furigana) {
    Html out;
    Walk(
        annotated, [&out](std::string_view text) { out += Html::Escape(text); },
        [&out, furigana](std::string_view base, std::string_view reading) {
            if (!furigana) {
                out += Html::Escape(base);
                return;
            }
            out += Html::Markup("<ruby>") + Html::Escape(base) + Html::Markup("<rt>") +
                   Html::Escape(reading) + Html::Markup("</rt></ruby>");
        });
    return out;
}

std::string Plain(std::string_view annotated) {
    std::string out;
    Walk(
        annotated, [&out](std::string_view text) { out += text; },
        [&out](std::string_view base, std::string_view) { out += base; });
    return out;
}

std::string Spoken(std::string_view annotated, bool furigana) {
    std::string out;
    Walk(
        annotated, [&out](std::string_view text) { out += text; },
        [&out, furigana](std::string_view base, std::string_view reading) {
            out += furigana ? reading : base;
        });
    return out;
}

std::string ToHiragana(const std::string& reading) {
    QString wide = QString::fromStdString(reading).normalized(QString::NormalizationForm_KC);
    for (QChar& c : wide)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) c = QChar(c.unicode() - 0x60);
    return wide.toStdString();
}

Html WithReading(const std::string& text, const std::string& reading, bool furigana) {
    if (!furigana || reading.empty()) return Html::Escape(text);
    return Html::Markup("<ruby>") + Html::Escape(text) + Html::Markup("<rt>") +
           Html::Escape(ToHiragana(reading)) + Html::Markup("</rt></ruby>");
}

}  // namespace kashidashi::opac
