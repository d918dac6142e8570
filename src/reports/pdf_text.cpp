#include "reports/pdf_text.h"

#include <QFile>
#include <QRawFont>
#include <QtEndian>
#include <map>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include "reports/fonts.h"
#include "reports/pdf_text_cmap.h"

namespace kashidashi::reports {
namespace {

// One installed font of the report: its glyphs and the characters drawn
// with each (of characters sharing a glyph, the highest code point: the
// ideograph rather than its radical, ・ rather than ‧).
struct DrawnFont {
    QRawFont raw;
    std::map<quint32, char16_t> drawn;  // glyph -> character
};

quint32 GlyphOf(const QRawFont& raw, char16_t character) {
    const QChar c(character);
    quint32 glyph = 0;
    int count = 1;
    return raw.glyphIndexesForChars(&c, 1, &glyph, &count) ? glyph : 0;
}

// The font's PostScript name (name record 6), as the PDF names the font.
QString PostScriptName(const QRawFont& raw) {
    const QByteArray table = raw.fontTable("name");
    const auto* d = reinterpret_cast<const uchar*>(table.constData());
    if (table.size() < 6) return {};
    const int count = qFromBigEndian<quint16>(d + 2), strings = qFromBigEndian<quint16>(d + 4);
    for (int r = 0; r < count && 6 + 12 * (r + 1) <= table.size(); ++r) {
        const uchar* rec = d + 6 + 12 * r;
        const int platform = qFromBigEndian<quint16>(rec), id = qFromBigEndian<quint16>(rec + 6);
        const int length = qFromBigEndian<quint16>(rec + 8);
        const int offset = strings + qFromBigEndian<quint16>(rec + 10);
        if (id != 6 || offset + length > table.size()) continue;
        if (platform == 1) return QString::fromLatin1(table.mid(offset, length));
        QString name;
        for (int i = 0; i + 1 < length; i += 2)
            name += QChar(qFromBigEndian<quint16>(d + offset + i));
        return name;
    }
    return {};
}

// The report's fonts by PostScript name, with the characters drawn.
std::map<QString, DrawnFont> DrawnFonts(const PreparedReport& report) {
    std::map<QString, DrawnFont> fonts;
    std::map<QString, QString> nameOfFamily;
    for (const Page& page : report.pages)
        for (const PageText& text : page.texts) {
            const QString family = InstalledFamily(text.font.name);
            if (!nameOfFamily.count(family)) {
                QRawFont raw = QRawFont::fromFont(ReportFont(text.font));
                nameOfFamily[family] = PostScriptName(raw).replace(u' ', u'_');
                fonts[nameOfFamily[family]].raw = raw;
            }
            DrawnFont& font = fonts[nameOfFamily[family]];
            for (const TextLine& line : text.lines)
                for (QChar c : QString::fromStdString(line.text)) {
                    char16_t& drawn = font.drawn[GlyphOf(font.raw, c.unicode())];
                    drawn = std::max(drawn, c.unicode());
                }
        }
    return fonts;
}

// The font named by a PDF font's BaseFont ("/ABCDEF+Name" or "/Name").
const DrawnFont* FontOf(QPDFObjectHandle& pdfFont, const std::map<QString, DrawnFont>& fonts) {
    QPDFObjectHandle base = pdfFont.getKey("/BaseFont");
    if (!base.isName()) return nullptr;
    QString name = QString::fromStdString(base.getName()).mid(1);
    if (name.size() > 7 && name[6] == u'+') name = name.mid(7);
    const auto found = fonts.find(name);
    return found == fonts.end() ? nullptr : &found->second;
}

// Each single character of the map whose glyph the report drew as another
// character becomes that character; true when one did.
bool Mend(ToUnicodeMap& map, const DrawnFont& font) {
    bool changed = false;
    for (auto& [code, text] : map) {
        if (text.size() != 1) continue;
        const quint32 glyph = GlyphOf(font.raw, text[0]);
        const auto drawn = font.drawn.find(glyph);
        if (glyph == 0 || drawn == font.drawn.end() || drawn->second == text[0]) continue;
        text = std::u16string(1, drawn->second);
        changed = true;
    }
    return changed;
}

// Mends the ToUnicode map of each report font; true when one changed.
bool MendFonts(QPDF& pdf, const std::map<QString, DrawnFont>& fonts) {
    bool changed = false;
    for (QPDFObjectHandle& object : pdf.getAllObjects()) {
        if (!object.isDictionary() || !object.hasKey("/ToUnicode")) continue;
        QPDFObjectHandle cmap = object.getKey("/ToUnicode");
        const DrawnFont* font = FontOf(object, fonts);
        if (!cmap.isStream() || !font) continue;
        const auto data = cmap.getStreamData(qpdf_dl_generalized);
        ToUnicodeMap map = ReadToUnicode(
            std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
        if (!Mend(map, *font)) continue;
        cmap.replaceStreamData(WriteToUnicode(map), QPDFObjectHandle::newNull(),
                               QPDFObjectHandle::newNull());
        changed = true;
    }
    return changed;
}

}  // namespace

bool MendPdfText(const QString& path, const PreparedReport& report) {
    const QString mended = path + QStringLiteral(".mended");
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(path).constData());
        if (!MendFonts(pdf, DrawnFonts(report))) return true;
        QPDFWriter writer(pdf, QFile::encodeName(mended).constData());
        writer.setStreamDataMode(qpdf_s_compress);
        writer.write();
    } catch (const std::exception&) {
        QFile::remove(mended);
        return false;
    }
    QFile::remove(path);
    return QFile::rename(mended, path);
}

}  // namespace kashidashi::reports
