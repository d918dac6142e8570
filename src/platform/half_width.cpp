#include "platform/half_width.h"

#include <array>
#include <cstdint>

#include "platform/cp932.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr char32_t kVoiced = 0xFF9E;      // ﾞ
constexpr char32_t kSemiVoiced = 0xFF9F;  // ﾟ

struct HalfWidth {
    char32_t base;  // 0: no mapping
    char32_t mark;  // 0, kVoiced or kSemiVoiced
};

struct Entry {
    char32_t from;
    HalfWidth to;
};

// Full-width katakana and the Japanese punctuation with half-width forms.
constexpr Entry kKana[] = {
    {0x3001, {0xFF64, 0}},            // 、 ､
    {0x3002, {0xFF61, 0}},            // 。 ｡
    {0x300C, {0xFF62, 0}},            // 「 ｢
    {0x300D, {0xFF63, 0}},            // 」 ｣
    {0x3099, {kVoiced, 0}},           // combining voiced mark
    {0x309A, {kSemiVoiced, 0}},       // combining semi-voiced mark
    {0x309B, {kVoiced, 0}},           // ゛
    {0x309C, {kSemiVoiced, 0}},       // ゜
    {0x30A1, {0xFF67, 0}},            // ァ
    {0x30A2, {0xFF71, 0}},            // ア
    {0x30A3, {0xFF68, 0}},            // ィ
    {0x30A4, {0xFF72, 0}},            // イ
    {0x30A5, {0xFF69, 0}},            // ゥ
    {0x30A6, {0xFF73, 0}},            // ウ
    {0x30A7, {0xFF6A, 0}},            // ェ
    {0x30A8, {0xFF74, 0}},            // エ
    {0x30A9, {0xFF6B, 0}},            // ォ
    {0x30AA, {0xFF75, 0}},            // オ
    {0x30AB, {0xFF76, 0}},            // カ
    {0x30AC, {0xFF76, kVoiced}},      // ガ
    {0x30AD, {0xFF77, 0}},            // キ
    {0x30AE, {0xFF77, kVoiced}},      // ギ
    {0x30AF, {0xFF78, 0}},            // ク
    {0x30B0, {0xFF78, kVoiced}},      // グ
    {0x30B1, {0xFF79, 0}},            // ケ
    {0x30B2, {0xFF79, kVoiced}},      // ゲ
    {0x30B3, {0xFF7A, 0}},            // コ
    {0x30B4, {0xFF7A, kVoiced}},      // ゴ
    {0x30B5, {0xFF7B, 0}},            // サ
    {0x30B6, {0xFF7B, kVoiced}},      // ザ
    {0x30B7, {0xFF7C, 0}},            // シ
    {0x30B8, {0xFF7C, kVoiced}},      // ジ
    {0x30B9, {0xFF7D, 0}},            // ス
    {0x30BA, {0xFF7D, kVoiced}},      // ズ
    {0x30BB, {0xFF7E, 0}},            // セ
    {0x30BC, {0xFF7E, kVoiced}},      // ゼ
    {0x30BD, {0xFF7F, 0}},            // ソ
    {0x30BE, {0xFF7F, kVoiced}},      // ゾ
    {0x30BF, {0xFF80, 0}},            // タ
    {0x30C0, {0xFF80, kVoiced}},      // ダ
    {0x30C1, {0xFF81, 0}},            // チ
    {0x30C2, {0xFF81, kVoiced}},      // ヂ
    {0x30C3, {0xFF6F, 0}},            // ッ
    {0x30C4, {0xFF82, 0}},            // ツ
    {0x30C5, {0xFF82, kVoiced}},      // ヅ
    {0x30C6, {0xFF83, 0}},            // テ
    {0x30C7, {0xFF83, kVoiced}},      // デ
    {0x30C8, {0xFF84, 0}},            // ト
    {0x30C9, {0xFF84, kVoiced}},      // ド
    {0x30CA, {0xFF85, 0}},            // ナ
    {0x30CB, {0xFF86, 0}},            // ニ
    {0x30CC, {0xFF87, 0}},            // ヌ
    {0x30CD, {0xFF88, 0}},            // ネ
    {0x30CE, {0xFF89, 0}},            // ノ
    {0x30CF, {0xFF8A, 0}},            // ハ
    {0x30D0, {0xFF8A, kVoiced}},      // バ
    {0x30D1, {0xFF8A, kSemiVoiced}},  // パ
    {0x30D2, {0xFF8B, 0}},            // ヒ
    {0x30D3, {0xFF8B, kVoiced}},      // ビ
    {0x30D4, {0xFF8B, kSemiVoiced}},  // ピ
    {0x30D5, {0xFF8C, 0}},            // フ
    {0x30D6, {0xFF8C, kVoiced}},      // ブ
    {0x30D7, {0xFF8C, kSemiVoiced}},  // プ
    {0x30D8, {0xFF8D, 0}},            // ヘ
    {0x30D9, {0xFF8D, kVoiced}},      // ベ
    {0x30DA, {0xFF8D, kSemiVoiced}},  // ペ
    {0x30DB, {0xFF8E, 0}},            // ホ
    {0x30DC, {0xFF8E, kVoiced}},      // ボ
    {0x30DD, {0xFF8E, kSemiVoiced}},  // ポ
    {0x30DE, {0xFF8F, 0}},            // マ
    {0x30DF, {0xFF90, 0}},            // ミ
    {0x30E0, {0xFF91, 0}},            // ム
    {0x30E1, {0xFF92, 0}},            // メ
    {0x30E2, {0xFF93, 0}},            // モ
    {0x30E3, {0xFF6C, 0}},            // ャ
    {0x30E4, {0xFF94, 0}},            // ヤ
    {0x30E5, {0xFF6D, 0}},            // ュ
    {0x30E6, {0xFF95, 0}},            // ユ
    {0x30E7, {0xFF6E, 0}},            // ョ
    {0x30E8, {0xFF96, 0}},            // ヨ
    {0x30E9, {0xFF97, 0}},            // ラ
    {0x30EA, {0xFF98, 0}},            // リ
    {0x30EB, {0xFF99, 0}},            // ル
    {0x30EC, {0xFF9A, 0}},            // レ
    {0x30ED, {0xFF9B, 0}},            // ロ
    {0x30EF, {0xFF9C, 0}},            // ワ
    {0x30F2, {0xFF66, 0}},            // ヲ
    {0x30F3, {0xFF9D, 0}},            // ン
    {0x30F4, {0xFF73, kVoiced}},      // ヴ
    {0x30F7, {0xFF9C, kVoiced}},      // ヷ
    {0x30FA, {0xFF66, kVoiced}},      // ヺ
    {0x30FB, {0xFF65, 0}},            // ・ ･
    {0x30FC, {0xFF70, 0}},            // ー ｰ
};

constexpr char32_t kKanaFirst = 0x3000;
constexpr char32_t kKanaLast = 0x30FF;

// Direct index over U+3000..U+30FF, built at compile time.
constexpr std::array<HalfWidth, kKanaLast - kKanaFirst + 1> BuildKanaIndex() {
    std::array<HalfWidth, kKanaLast - kKanaFirst + 1> index{};
    for (const Entry& e : kKana) index[e.from - kKanaFirst] = e.to;
    index[0x3000 - kKanaFirst] = {U' ', 0};  // ideographic space
    return index;
}

constexpr auto kKanaIndex = BuildKanaIndex();

HalfWidth Lookup(char32_t cp) {
    if (cp >= 0xFF01 && cp <= 0xFF5E) return {cp - 0xFF01 + 0x21, 0};
    if (cp >= kKanaFirst && cp <= kKanaLast) return kKanaIndex[cp - kKanaFirst];
    return {0, 0};
}

}  // namespace

std::string ToHalfWidthText(std::string_view text) {
    const std::size_t ascii = utf8::FirstNonAscii(text);
    if (ascii == text.size()) return std::string(text);
    std::string out(text.substr(0, ascii));
    out.reserve(text.size());
    std::size_t pos = ascii;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out += text[pos++];
            continue;
        }
        const std::size_t len = utf8::SequenceLength(text.substr(pos));
        if (len == 0) {  // not UTF-8: keep the byte as it is
            out += text[pos++];
            continue;
        }
        std::size_t next = pos;
        const HalfWidth hw = Lookup(utf8::Next(text, next));
        if (hw.base == 0) {
            out.append(text.substr(pos, len));
        } else {
            utf8::Append(out, hw.base);
            if (hw.mark != 0) utf8::Append(out, hw.mark);
        }
        pos = next;
    }
    return out;
}

std::string MapToHalfWidthCut255(std::string_view text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    return Cp932Cut(ToHalfWidthText(NormaliseToCp932(text)), 255);
}

}  // namespace platform
