#include "data/search_fold.h"

#include <QRegularExpression>

namespace kashidashi {
namespace {

constexpr char16_t kFirstHiragana = u'\u3041';  // ぁ
constexpr char16_t kLastHiragana = u'\u3096';   // ゖ
constexpr char16_t kHiraganaIteration = u'\u309D';
constexpr char16_t kHiraganaVoicedIteration = u'\u309E';
constexpr char16_t kToKatakana = u'\u30A1' - u'\u3041';

// The spacing marks ゛ and ゜ would become a space and a combining mark under
// NFKC; as combining marks they join the kana before them instead.
QString JoinSpacingSoundMarks(QString text) {
    text.replace(QChar(u'\u309B'), QChar(u'\u3099'));
    text.replace(QChar(u'\u309C'), QChar(u'\u309A'));
    return text;
}

bool IsHiragana(char16_t c) {
    return (c >= kFirstHiragana && c <= kLastHiragana) || c == kHiraganaIteration ||
           c == kHiraganaVoicedIteration;
}

}  // namespace

QString FoldForSearch(const QString& text) {
    QString folded = JoinSpacingSoundMarks(text).normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        if (IsHiragana(c.unicode())) c = QChar(char16_t(c.unicode() + kToKatakana));
    }
    return folded.toCaseFolded();
}

QStringList SearchWords(const QString& query) {
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QStringList words;
    for (const QString& word : FoldForSearch(query).split(spaces, Qt::SkipEmptyParts)) {
        if (!words.contains(word)) words.append(word);
    }
    return words;
}

}  // namespace kashidashi
