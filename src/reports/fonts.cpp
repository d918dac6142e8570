#include "reports/fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <array>
#include <map>
#include <memory>

namespace kashidashi::reports {
namespace {

// Measured at 720 dots per inch.
constexpr double kDpi = 720.0;

// Widths are the sums of the characters' advances (kerning is off in every
// report font), each measured once per font. The advances of the basic
// plane sit in pages of 256 characters, made when first needed; a surrogate
// (half of a character beyond it) is measured with its partner, by text.
class InstalledMetrics : public TextMetrics {
  public:
    InstalledMetrics() : device_(1, 1, QImage::Format_RGB32) {
        int dotsPerMetre = static_cast<int>(kDpi / 0.0254 + 0.5);
        device_.setDotsPerMeterX(dotsPerMetre);
        device_.setDotsPerMeterY(dotsPerMetre);
    }
    double WidthMm(const QString& text, const FontStyle& font) const override {
        QMutexLocker lock(&mutex_);
        Widths& widths = WidthsOf(font);
        double total = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!text[i].isSurrogate()) {
                total += PlaneWidth(widths, text[i].unicode());
                continue;
            }
            qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            total += TextWidth(widths, text.mid(i, n));
            i += n - 1;
        }
        return total * kMmPerInch / kDpi;
    }

  private:
    using AdvancePage = std::array<double, 256>;
    struct Widths {
        QFontMetricsF metrics;
        std::array<std::unique_ptr<AdvancePage>, 256> plane;
        QHash<QString, double> beyond;
    };
    // The last font asked for is asked for again most of the time.
    Widths& WidthsOf(const FontStyle& font) const {
        if (last_ && font == lastFont_) return *last_;
        lastFont_ = font;
        last_ = &FindWidths(font);
        return *last_;
    }
    Widths& FindWidths(const FontStyle& font) const {
        QString key = QString::fromStdString(font.name) + QChar(u'|') + QString::number(font.size);
        auto found = cache_.find(key);
        if (found == cache_.end())
            found = cache_.emplace(key, Widths{QFontMetricsF(ReportFont(font), &device_), {}, {}})
                        .first;
        return found->second;
    }
    static double PlaneWidth(Widths& widths, char16_t character) {
        std::unique_ptr<AdvancePage>& page = widths.plane[character >> 8];
        if (!page) {
            page = std::make_unique<AdvancePage>();
            page->fill(-1);
        }
        double& advance = (*page)[character & 0xff];
        if (advance < 0) advance = widths.metrics.horizontalAdvance(QString(QChar(character)));
        return advance;
    }
    static double TextWidth(Widths& widths, const QString& character) {
        auto found = widths.beyond.constFind(character);
        if (found != widths.beyond.constEnd()) return *found;
        return *widths.beyond.insert(character, widths.metrics.horizontalAdvance(character));
    }
    QImage device_;
    mutable QMutex mutex_;
    mutable std::map<QString, Widths> cache_;  // entries stay put
    mutable FontStyle lastFont_;
    mutable Widths* last_ = nullptr;
};

}  // namespace

QString InstalledFamily(const std::string& layoutName) {
    if (layoutName == "メイリオ") return QStringLiteral("Noto Sans CJK JP");
    if (layoutName == "ＭＳ 明朝") return QStringLiteral("IPAMincho");
    if (layoutName == "ＭＳ ゴシック") return QStringLiteral("IPAGothic");
    return QString::fromStdString(layoutName);
}

QFont ReportFont(const FontStyle& style) {
    QFont font(InstalledFamily(style.name));
    font.setPointSizeF(style.size);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setKerning(false);
    return font;
}

const TextMetrics& FontMetrics() {
    static const InstalledMetrics metrics;
    return metrics;
}

}  // namespace kashidashi::reports
