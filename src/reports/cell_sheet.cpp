#include "reports/cell_sheet.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <stdexcept>

// The sheets live in the layouts' resource (a static library's resources
// are not linked in by themselves).
static void InitSheetResources() {
    Q_INIT_RESOURCE(layouts);
}

namespace kashidashi::reports {
namespace {

constexpr double kSlack = 0.01;  // mm: rounding of entered measures

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::pair<double, double> PairOf(const QJsonObject& o, const char* key) {
    QJsonArray pair = o.value(QLatin1String(key)).toArray();
    if (pair.size() != 2) throw std::runtime_error(std::string("sheet without ") + key);
    return {pair[0].toDouble(), pair[1].toDouble()};
}

CellSheet SheetOf(const QJsonObject& o) {
    CellSheet sheet;
    sheet.name = o.value(QLatin1String("name")).toString().toStdString();
    sheet.title = o.value(QLatin1String("title")).toString().toStdString();
    std::tie(sheet.pageWidth, sheet.pageHeight) = PairOf(o, "page");
    std::tie(sheet.left, sheet.top) = PairOf(o, "first");
    std::tie(sheet.cellWidth, sheet.cellHeight) = PairOf(o, "cell");
    std::tie(sheet.pitchX, sheet.pitchY) = PairOf(o, "pitch");
    auto [columns, rows] = PairOf(o, "grid");
    sheet.columns = static_cast<int>(columns);
    sheet.rows = static_cast<int>(rows);
    if (sheet.name.empty()) throw std::runtime_error("sheet without a name");
    return sheet;
}

}  // namespace

RectMm CellSheet::CellRect(int index) const {
    const int column = index % columns, row = index / columns;
    return {left + column * pitchX, top + row * pitchY, cellWidth, cellHeight};
}

std::optional<std::string> CellSheet::Problem() const {
    if (columns < 1 || rows < 1 || cellWidth <= 0 || cellHeight <= 0)
        return "ラベルの大きさと列数・行数は 0 より大きくしてください。";
    if ((columns > 1 && pitchX + kSlack < cellWidth) || (rows > 1 && pitchY + kSlack < cellHeight))
        return "ラベルの間隔（ピッチ）がラベルの大きさより小さく、ラベルが重なります。";
    const RectMm last = CellRect(Count() - 1);
    if (left < -kSlack || top < -kSlack || last.Right() > pageWidth + kSlack ||
        last.Bottom() > pageHeight + kSlack)
        return "ラベルが用紙からはみ出します。余白・間隔・列数・行数を確かめてください。";
    return std::nullopt;
}

std::vector<CellSheet> ParseCellSheets(const QByteArray& json) {
    QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!doc.isArray()) throw std::runtime_error("not a sheet list");
    std::vector<CellSheet> sheets;
    for (const auto& item : doc.array()) sheets.push_back(SheetOf(item.toObject()));
    return sheets;
}

const std::vector<CellSheet>& StandardCellSheets() {
    static const std::vector<CellSheet> sheets = [] {
        InitSheetResources();
        QFile file(QStringLiteral(":/reports/cell_sheets.json"));
        if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("no sheet list");
        return ParseCellSheets(file.readAll());
    }();
    return sheets;
}

std::optional<CellSheet> FindCellSheet(std::string_view name) {
    for (const CellSheet& sheet : StandardCellSheets())
        if (SameName(sheet.name, name)) return sheet;
    return std::nullopt;
}

std::string CutToWidth(const std::string& text, double widthMm, const FontStyle& font,
                       const TextMetrics& metrics) {
    QString whole = QString::fromStdString(text);
    if (metrics.WidthMm(whole, font) <= widthMm) return text;
    const QString ellipsis = QStringLiteral("…");
    QString cut = whole;
    while (!cut.isEmpty() && metrics.WidthMm(cut + ellipsis, font) > widthMm) cut.chop(1);
    return (cut + ellipsis).toStdString();
}

}  // namespace kashidashi::reports
