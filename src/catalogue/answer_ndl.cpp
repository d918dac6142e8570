// ReadNdlAnswer: the first item of the national library's OpenSearch answer.
#include <QXmlStreamReader>
#include <map>
#include <vector>

#include "catalogue/answer_read.h"
#include "catalogue/answer_values.h"
#include "platform/utf8.h"

namespace kashidashi::catalogue {
namespace {

// The texts of an item's child elements in their order, by "prefix:name"
// with the prefix the answer's own namespaces have ("" for RSS's own
// elements); dc:subject by its xsi:type ("NDC9", "NDLC", ...) as well.
struct NdlItem {
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, std::string> subjects;

    std::vector<std::string> All(const char* key) const {
        const auto found = values.find(key);
        return found == values.end() ? std::vector<std::string>() : found->second;
    }
    std::string First(const char* key) const {
        const std::vector<std::string> all = All(key);
        return all.empty() ? std::string() : all.front();
    }
};

// "dc", "dcndl", "dcterms", "" for no namespace; nullptr for any other.
const char* PrefixOf(QStringView uri) {
    if (uri.isEmpty()) return "";
    if (uri == u"http://purl.org/dc/elements/1.1/") return "dc";
    if (uri == u"http://ndl.go.jp/dcndl/terms/") return "dcndl";
    if (uri == u"http://purl.org/dc/terms/") return "dcterms";
    return nullptr;
}

// One child element of the item: its text kept under its key.
void ReadChild(QXmlStreamReader& xml, NdlItem& item) {
    const char* prefix = PrefixOf(xml.namespaceUri());
    const std::string key =
        std::string(prefix ? prefix : "?") + ":" + xml.name().toString().toStdString();
    const QString type = xml.attributes()
                             .value(QLatin1StringView("http://www.w3.org/2001/XMLSchema-instance"),
                                    QLatin1StringView("type"))
                             .toString();
    const std::string text =
        xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString();
    if (!prefix) return;
    item.values[key].push_back(text);
    if (key == "dc:subject" && !type.isEmpty()) {
        const std::string scheme = type.mid(type.indexOf(u':') + 1).toStdString();
        item.subjects.emplace(scheme, text);  // the first of each scheme
    }
}

// The item whose start tag the reader stands on, up to its end tag.
NdlItem ReadItem(QXmlStreamReader& xml) {
    NdlItem item;
    while (xml.readNextStartElement()) ReadChild(xml, item);
    return item;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : separator) + p;
    return out;
}

void FillCreators(const NdlItem& item, TLookupRecord& r) {
    const std::vector<std::string> creators = item.All("dc:creator");
    std::string* authors[] = {&r.Author1, &r.Author2, &r.Author3, &r.Author4};
    for (std::size_t i = 0; i < creators.size() && i < 4; ++i)
        *authors[i] = AnswerValue(creators[i]);
    const std::vector<std::string> readings = item.All("dcndl:creatorTranscription");
    for (std::size_t i = 0; i < readings.size() && i < 4; ++i)
        if (!readings[i].empty()) r.AuthorReading += AnswerValue(readings[i]) + "/ ";
}

// NDC8, else NDC9, else NDC, else NDC10 (the edition most books carry now).
std::string Classification(const NdlItem& item) {
    for (const char* scheme : {"NDC8", "NDC9", "NDC", "NDC10"}) {
        const auto found = item.subjects.find(scheme);
        if (found != item.subjects.end() && !found->second.empty()) return found->second;
    }
    return {};
}

void FillSeries(const NdlItem& item, TLookupRecord& r) {
    r.SeriesTitle = AnswerValue(item.First("dcndl:seriesTitle") + item.First("dcndl:edition"));
    const std::string volume = AnswerValue(item.First("dcndl:volume"));
    if (!volume.empty()) r.SeriesTitle += (r.SeriesTitle.empty() ? "" : " ") + volume;
}

void Fill(const NdlItem& item, TLookupRecord& r) {
    const std::string title = item.First("dc:title");
    SplitTitle(AnswerValue(title.empty() ? item.First(":title") : title), r);
    r.TitleReading = AnswerValue(item.First("dcndl:titleTranscription"));
    FillSeries(item, r);
    FillCreators(item, r);
    r.Publisher = AnswerValue(item.First("dc:publisher"));
    const std::string issued = item.First("dcterms:issued");
    r.Issued = AnswerValue(issued.empty() ? item.First("dc:date") : issued);
    r.Classification = AnswerValue(Classification(item));
    r.Price = FirstNumber(AnswerValue(item.First("dcndl:price")));
    std::vector<std::string> extents = item.All("dc:extent");
    for (const std::string& e : item.All("dcterms:extent")) extents.push_back(e);
    SplitExtent(AnswerValue(Joined(extents, " ; ")), r);
}

}  // namespace

AnswerKind ReadNdlAnswer(std::string_view bytes, TLookupRecord& r) {
    if (!platform::utf8::IsValid(bytes)) return AnswerKind::Broken;
    QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    std::vector<NdlItem> items;  // the first one only is kept
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"item" && xml.namespaceUri().isEmpty()) {
            NdlItem item = ReadItem(xml);
            if (items.empty()) items.push_back(std::move(item));
        }
    }
    if (xml.hasError()) return AnswerKind::Broken;
    if (items.empty()) return AnswerKind::NoBook;
    TLookupRecord found;
    Fill(items.front(), found);
    r = found;
    return AnswerKind::Book;
}

}  // namespace kashidashi::catalogue
