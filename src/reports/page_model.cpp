#include "reports/page_model.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace kashidashi::reports {
namespace {

constexpr const char* kFormat = "kashidashi prepared report 1";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QJsonValue& value) {
    return value.toString().toStdString();
}

QJsonArray Numbers(std::initializer_list<double> values) {
    QJsonArray array;
    for (double v : values) array.append(v);
    return array;
}

QJsonObject TextJson(const PageText& text) {
    QJsonArray lines;
    for (const TextLine& line : text.lines)
        lines.append(QJsonArray{line.x, line.baseline, Q(line.text)});
    return {{"object", Q(text.object)},
            {"clip", Numbers({text.clip.x, text.clip.y, text.clip.w, text.clip.h})},
            {"font", Q(text.font.name)},
            {"size", text.font.size},
            {"color", static_cast<double>(text.color)},
            {"lines", lines}};
}

QJsonObject PageJson(const Page& page) {
    QJsonArray fills, texts, lines;
    for (const PageFill& f : page.fills)
        fills.append(Numbers({f.rect.x, f.rect.y, f.rect.w, f.rect.h, double(f.color)}));
    for (const PageText& t : page.texts) texts.append(TextJson(t));
    for (const PageLine& l : page.lines)
        lines.append(Numbers(
            {l.x1, l.y1, l.x2, l.y2, l.width, double(l.color), double(static_cast<int>(l.style))}));
    return {{"size", Numbers({page.width, page.height})},
            {"fills", fills},
            {"texts", texts},
            {"lines", lines}};
}

PageText TextOf(const QJsonObject& o) {
    PageText text;
    text.object = S(o["object"]);
    QJsonArray clip = o["clip"].toArray();
    text.clip = {clip[0].toDouble(), clip[1].toDouble(), clip[2].toDouble(), clip[3].toDouble()};
    text.font = {S(o["font"]), o["size"].toDouble()};
    text.color = static_cast<uint32_t>(o["color"].toDouble());
    for (const QJsonValue& v : o["lines"].toArray()) {
        QJsonArray line = v.toArray();
        text.lines.push_back({line[0].toDouble(), line[1].toDouble(), S(line[2])});
    }
    return text;
}

Page PageOf(const QJsonObject& o) {
    Page page;
    page.width = o["size"].toArray()[0].toDouble();
    page.height = o["size"].toArray()[1].toDouble();
    for (const QJsonValue& v : o["fills"].toArray()) {
        QJsonArray f = v.toArray();
        page.fills.push_back({{f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble()},
                              static_cast<uint32_t>(f[4].toDouble())});
    }
    for (const QJsonValue& v : o["texts"].toArray()) page.texts.push_back(TextOf(v.toObject()));
    for (const QJsonValue& v : o["lines"].toArray()) {
        QJsonArray l = v.toArray();
        page.lines.push_back({l[0].toDouble(), l[1].toDouble(), l[2].toDouble(), l[3].toDouble(),
                              l[4].toDouble(), static_cast<uint32_t>(l[5].toDouble()),
                              static_cast<LineStyle>(l[6].toInt())});
    }
    return page;
}

}  // namespace

std::string PageText::Text() const {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i].text;
    return out;
}

QByteArray WritePrepared(const PreparedReport& report) {
    QJsonArray pages;
    for (const Page& page : report.pages) pages.append(PageJson(page));
    QJsonObject root{{"format", kFormat}, {"name", Q(report.name)}, {"pages", pages}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

PreparedReport ReadPrepared(const QByteArray& bytes) {
    QJsonDocument document = QJsonDocument::fromJson(bytes);
    QJsonObject root = document.object();
    if (root["format"].toString() != QLatin1String(kFormat))
        throw std::runtime_error("not a prepared report");
    PreparedReport report;
    report.name = S(root["name"]);
    for (const QJsonValue& page : root["pages"].toArray())
        report.pages.push_back(PageOf(page.toObject()));
    return report;
}

}  // namespace kashidashi::reports
