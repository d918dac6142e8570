// Reading MARC21 files through libyaz: ISO 2709 records are decoded by
// yaz_marc_read_iso2709 and written out as a MARCXML node; MARCXML records
// are checked by yaz_marc_read_xml. Either way the record node is walked for
// its data fields.
#include "catalogue/marc_import.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <yaz/marcdisp.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "catalogue/marc_fields.h"
#include "platform/utf8.h"

namespace kashidashi::catalogue {
namespace {

using MarcHandle = std::unique_ptr<std::remove_pointer_t<yaz_marc_t>, void (*)(yaz_marc_t)>;

std::string Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

std::string Content(xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

bool Named(xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST name) == 0;
}

MarcRecord FieldsOf(xmlNode* record) {
    MarcRecord fields;
    for (xmlNode* f = record->children; f; f = f->next) {
        if (!Named(f, "datafield")) continue;
        MarcField field{Attribute(f, "tag"), {}};
        for (xmlNode* s = f->children; s; s = s->next)
            if (Named(s, "subfield"))
                field.subfields.emplace_back(Attribute(s, "code").c_str()[0], Content(s));
        fields.push_back(std::move(field));
    }
    return fields;
}

// What the reading of a file collects.
struct Collected {
    std::vector<MarcValues>& entries;
    std::vector<std::string>& bad;
    std::vector<int>& withoutIsbn;
};

void Note(std::vector<std::string>& bad, int number, const std::string& reason) {
    if (!reason.empty()) bad.push_back("レコード " + std::to_string(number) + ": " + reason);
}

// The entries of one record; a bad one noted, one without ISBN-10 counted.
void AddRecord(const MarcRecord& record, int number, Collected& out) {
    MarcValues values = MarcValuesOf(record);
    for (const auto& [column, text] : values)
        if (!platform::utf8::IsValid(text))
            return Note(out.bad, number, "文字コードがUTF-8ではありません");
    if (values["title"].empty()) return Note(out.bad, number, "書名(245 $a)がありません");
    const std::vector<std::string> isbns = MarcIsbn10s(record);
    if (isbns.empty()) return out.withoutIsbn.push_back(number);
    for (const std::string& isbn : isbns) {
        values["isbn"] = isbn;
        out.entries.push_back(values);
    }
}

// ISO 2709: records one after another, each starting with its length.
void ReadIso2709(const std::string& data, Collected& out) {
    MarcHandle mt(yaz_marc_create(), yaz_marc_destroy);
    std::size_t offset = 0;
    for (int number = 1; offset < data.size(); ++number) {
        if (data.find_first_not_of("\r\n\x1d ", offset) == std::string::npos) break;
        const int length = yaz_marc_read_iso2709(mt.get(), data.data() + offset,
                                                 static_cast<int>(data.size() - offset));
        xmlNode* node = nullptr;
        if (length <= 0 ||
            yaz_marc_write_xml(mt.get(), &node, "http://www.loc.gov/MARC21/slim", nullptr,
                               nullptr) != 0 ||
            !node) {
            Note(out.bad, number, "MARC21(ISO 2709)として読めません");
            return;  // without a readable length the records after it cannot be found
        }
        AddRecord(FieldsOf(node), number, out);
        xmlFreeNode(node);
        offset += static_cast<std::size_t>(length);
    }
}

void CollectXmlRecords(xmlNode* node, std::vector<xmlNode*>& records) {
    for (; node; node = node->next) {
        if (Named(node, "record"))
            records.push_back(node);
        else if (node->type == XML_ELEMENT_NODE)
            CollectXmlRecords(node->children, records);
    }
}

void ReadMarcXml(const std::string& data, Collected& out) {
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        xmlReadMemory(data.data(), static_cast<int>(data.size()), "marc.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    if (!doc) return out.bad.push_back("MARCXMLとして読めません");
    std::vector<xmlNode*> records;
    CollectXmlRecords(xmlDocGetRootElement(doc.get()), records);
    MarcHandle mt(yaz_marc_create(), yaz_marc_destroy);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (yaz_marc_read_xml(mt.get(), records[i]) != 0)
            Note(out.bad, number, "MARCXMLのレコードとして読めません");
        else
            AddRecord(FieldsOf(records[i]), number, out);
    }
}

}  // namespace

std::vector<MarcValues> ReadMarcFile(const std::string& path, std::vector<std::string>& bad,
                                     std::vector<int>& withoutIsbn) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw MarcError("ファイルを開けません: " + path);
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<MarcValues> entries;
    Collected out{entries, bad, withoutIsbn};
    const std::size_t first = data.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (first != std::string::npos && data[first] == '<')
        ReadMarcXml(data, out);
    else
        ReadIso2709(data, out);
    if (entries.empty() && bad.empty() && withoutIsbn.empty())
        bad.push_back("MARCレコードがありません");
    return entries;
}

std::vector<MarcValues> ReadMarcFile(const std::string& path, std::vector<std::string>& bad) {
    std::vector<int> withoutIsbn;
    return ReadMarcFile(path, bad, withoutIsbn);
}

}  // namespace kashidashi::catalogue
