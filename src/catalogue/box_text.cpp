#include "catalogue/box_text.h"

#include <algorithm>
#include <string>

#include "platform/cp932.h"
#include "platform/half_width.h"

namespace kashidashi::catalogue {
namespace {

int Bytes(const QString& text) {
    return static_cast<int>(platform::Cp932ByteLength(text.toStdString()));
}

// The longest beginning of the text within the bytes.
QString Cut(const QString& text, int maxBytes) {
    const std::string utf8 = text.toStdString();
    const std::size_t keep = platform::Cp932CutOffset(utf8, static_cast<std::size_t>(maxBytes));
    return QString::fromStdString(utf8.substr(0, keep));
}

// Hiragana (ぁ U+3041 to ゖ U+3096, ゝ ゞ) as katakana, then half width.
QString Reading(const QString& text) {
    QString katakana = text;
    for (QChar& c : katakana) {
        const char16_t u = c.unicode();
        if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E) c = QChar(u + 0x60);
    }
    return QString::fromStdString(platform::ToHalfWidthText(katakana.toStdString()));
}

}  // namespace

BoxText FitToBytes(const BoxText& box, int maxBytes) {
    if (maxBytes <= 0 || Bytes(box.text) <= maxBytes) return box;
    const QString after = box.text.mid(box.cursor);
    const int afterBytes = Bytes(after);
    if (afterBytes > maxBytes) return {Cut(after, maxBytes), 0};
    const QString before = Cut(box.text.left(box.cursor), maxBytes - afterBytes);
    return {before + after, static_cast<int>(before.size())};
}

BoxText AsReading(const BoxText& box) {
    const QString before = Reading(box.text.left(box.cursor));
    return {before + Reading(box.text.mid(box.cursor)), static_cast<int>(before.size())};
}

}  // namespace kashidashi::catalogue
