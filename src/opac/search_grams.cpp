#include "opac/search_grams.h"

#include <cstdio>
#include <vector>

#include "data/search_fold.h"

namespace kashidashi::opac {

namespace {

// The code points of a folded word that count: letters, digits and marks.
std::vector<char32_t> Kept(const QString& word) {
    std::vector<char32_t> kept;
    for (char32_t c : word.toUcs4()) {
        QChar::Category category = QChar::category(c);
        bool letter = category >= QChar::Letter_Uppercase && category <= QChar::Letter_Other;
        bool digit = category >= QChar::Number_DecimalDigit && category <= QChar::Number_Other;
        bool mark = category >= QChar::Mark_NonSpacing && category <= QChar::Mark_Enclosing;
        if (letter || digit || mark) kept.push_back(c);
    }
    return kept;
}

void AppendHex(std::string& out, char32_t c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06x", static_cast<unsigned>(c));
    out += hex;
}

std::string Pair(char32_t first, char32_t second) {
    std::string term = "q";
    AppendHex(term, first);
    AppendHex(term, second);
    return term;
}

}  // namespace

std::string IndexTerms(const QString& text) {
    std::string terms;
    for (const QString& word : SearchWords(text)) {
        auto kept = Kept(word);
        for (size_t i = 0; i < kept.size(); ++i) {
            if (!terms.empty()) terms += ' ';
            terms += Pair(kept[i], i + 1 < kept.size() ? kept[i + 1] : U'\0');
        }
    }
    return terms;
}

std::string MatchQuery(const QStringList& words) {
    std::string query;
    for (const QString& word : words) {
        auto kept = Kept(word);
        if (kept.empty()) continue;
        if (!query.empty()) query += " AND ";
        if (kept.size() == 1) {
            query += "q";
            AppendHex(query, kept[0]);
            query += "*";
            continue;
        }
        query += '"';
        for (size_t i = 0; i + 1 < kept.size(); ++i) {
            if (i > 0) query += ' ';
            query += Pair(kept[i], kept[i + 1]);
        }
        query += '"';
    }
    return query;
}

}  // namespace kashidashi::opac
