#include "reports/layout_file.h"

#include <QColor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

// The layouts' resource, linked from this library.
static void InitLayoutResources() {
    Q_INIT_RESOURCE(layouts);
}

namespace kashidashi::reports {
namespace {

std::string Str(const QJsonObject& o, const char* key) {
    return o.value(QLatin1String(key)).toString().toStdString();
}

uint32_t ColorOf(const QJsonValue& value, uint32_t fallback) {
    if (!value.isString()) return fallback;
    return QColor(value.toString()).rgba();
}

FontStyle FontOf(const QJsonObject& o) {
    return {Str(o, "name"), o.value(QLatin1String("size")).toDouble(10)};
}

int SidesOf(const QString& letters) {
    int sides = 0;
    if (letters.contains(u'L')) sides |= kLeft;
    if (letters.contains(u'T')) sides |= kTop;
    if (letters.contains(u'R')) sides |= kRight;
    if (letters.contains(u'B')) sides |= kBottom;
    return sides;
}

Frame FrameOf(const QJsonObject& o) {
    Frame frame;
    frame.sides = SidesOf(o.value(QLatin1String("sides")).toString());
    frame.width = o.value(QLatin1String("width")).toDouble(1.0);
    frame.ownSide = SidesOf(o.value(QLatin1String("side")).toString());
    frame.ownWidth = o.value(QLatin1String("sideWidth")).toDouble(frame.width);
    frame.color = ColorOf(o.value(QLatin1String("color")), frame.color);
    return frame;
}

ObjectKind KindOf(const QString& kind) {
    if (kind == u"rect") return ObjectKind::Rectangle;
    if (kind == u"line") return ObjectKind::Line;
    if (kind == u"barcode") return ObjectKind::Barcode;
    if (kind == u"text") return ObjectKind::Text;
    throw std::runtime_error("unknown object kind: " + kind.toStdString());
}

void ReadPlacement(const QJsonObject& o, ReportObject& object) {
    QJsonArray pos = o.value(QLatin1String("pos")).toArray();
    if (pos.size() != 4) throw std::runtime_error("an object needs pos [left, top, width, height]");
    object.left = pos[0].toDouble();
    object.top = pos[1].toDouble();
    object.width = pos[2].toDouble();
    object.height = pos[3].toDouble();
    QString anchor = o.value(QLatin1String("anchor")).toString();
    object.anchor = anchor == u"center"  ? Anchor::Center
                    : anchor == u"right" ? Anchor::Right
                                         : Anchor::None;
}

void ReadTextForm(const QJsonObject& o, ReportObject& object) {
    if (o.contains(QLatin1String("font"))) {
        object.font = FontOf(o.value(QLatin1String("font")).toObject());
        object.ownFont = true;
    }
    QString align = o.value(QLatin1String("align")).toString();
    object.align = align == u"center"  ? HAlign::Center
                   : align == u"right" ? HAlign::Right
                                       : HAlign::Left;
    object.valign =
        o.value(QLatin1String("valign")).toString() == u"center" ? VAlign::Center : VAlign::Top;
    object.stretchToRow = o.value(QLatin1String("stretchToRow")).toBool();
    object.hideZeros = o.value(QLatin1String("hideZeros")).toBool();
    object.autoWidth = o.value(QLatin1String("autoWidth")).toBool();
    object.wordWrap = o.value(QLatin1String("wordWrap")).toBool(true);
}

// A barcode's symbology, wide-to-narrow ratio and quiet zone (narrow units).
void ReadBarcodeForm(const QJsonObject& o, BarcodeForm& form) {
    const QString name = o.value(QLatin1String("symbology")).toString(QStringLiteral("code39"));
    auto symbology = SymbologyOf(name.toStdString());
    if (!symbology) throw std::runtime_error("unknown symbology: " + name.toStdString());
    form.symbology = *symbology;
    form.ratio = o.value(QLatin1String("ratio")).toDouble(2.0);
    form.quiet = o.value(QLatin1String("quiet")).toDouble(0);
}

ReportObject ObjectOf(const QJsonObject& o) {
    ReportObject object;
    object.kind = KindOf(o.value(QLatin1String("kind")).toString(QStringLiteral("text")));
    object.name = Str(o, "name");
    ReadPlacement(o, object);
    object.text = Str(o, "text");
    object.dataSet = Str(o, "dataSet");
    object.field = Str(o, "field");
    object.visible = o.value(QLatin1String("visible")).toBool(true);
    object.color = ColorOf(o.value(QLatin1String("color")), object.color);
    ReadTextForm(o, object);
    if (o.contains(QLatin1String("frame")))
        object.frame = FrameOf(o.value(QLatin1String("frame")).toObject());
    object.lineStyle = o.value(QLatin1String("lineStyle")).toString() == u"dashdot"
                           ? LineStyle::DashDot
                           : LineStyle::Solid;
    object.lineWidth = o.value(QLatin1String("lineWidth")).toDouble(1.0);
    ReadBarcodeForm(o, object.barcode);
    return object;
}

std::vector<ReportObject> ObjectsOf(const QJsonValue& value) {
    std::vector<ReportObject> objects;
    for (const QJsonValue& o : value.toArray()) objects.push_back(ObjectOf(o.toObject()));
    return objects;
}

BandKind BandKindOf(const QString& kind) {
    static const std::pair<const char16_t*, BandKind> kinds[] = {
        {u"ReportTitle", BandKind::ReportTitle},     {u"PageHeader", BandKind::PageHeader},
        {u"ColumnHeader", BandKind::ColumnHeader},   {u"MasterData", BandKind::MasterData},
        {u"ReportSummary", BandKind::ReportSummary}, {u"PageFooter", BandKind::PageFooter}};
    for (auto [name, value] : kinds)
        if (kind == QStringView(name)) return value;
    throw std::runtime_error("unknown band kind: " + kind.toStdString());
}

Band BandOf(const QJsonObject& o) {
    Band band;
    band.kind = BandKindOf(o.value(QLatin1String("kind")).toString());
    band.name = Str(o, "name");
    band.height = o.value(QLatin1String("height")).toDouble();
    band.stretch = o.value(QLatin1String("stretch")).toBool();
    band.dataSet = Str(o, "dataSet");
    band.objects = ObjectsOf(o.value(QLatin1String("objects")));
    return band;
}

}  // namespace

Layout ParseLayout(const QByteArray& json) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) throw std::runtime_error(error.errorString().toStdString());
    QJsonObject o = document.object();
    Layout layout;
    layout.name = Str(o, "name");
    QJsonArray margins = o.value(QLatin1String("margins")).toArray();
    if (margins.size() == 4) {
        layout.marginLeft = margins[0].toDouble();
        layout.marginRight = margins[1].toDouble();
        layout.marginTop = margins[2].toDouble();
        layout.marginBottom = margins[3].toDouble();
    }
    if (o.contains(QLatin1String("font")))
        layout.pageFont = FontOf(o.value(QLatin1String("font")).toObject());
    layout.pageObjects = ObjectsOf(o.value(QLatin1String("objects")));
    for (const QJsonValue& band : o.value(QLatin1String("bands")).toArray())
        layout.bands.push_back(BandOf(band.toObject()));
    return layout;
}

Layout LoadLayout(const QString& name) {
    static const bool ready = (InitLayoutResources(), true);
    (void)ready;
    QFile file(QStringLiteral(":/reports/%1.json").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no report layout " + name.toStdString());
    return ParseLayout(file.readAll());
}

}  // namespace kashidashi::reports
