#include "marc_files.h"

#include <cstdio>
#include <fstream>

namespace catalogue_test {
namespace {

std::string Digits(std::size_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*zu", width, value);
    return text;
}

}  // namespace

std::string Iso2709(const TestRecord& record) {
    std::string directory, data;
    for (const TestField& f : record) {
        std::string field = "  ";
        for (const auto& [code, value] : f.subfields)
            field += "\x1f" + std::string(1, code) + value;
        field += "\x1e";
        directory += f.tag + Digits(field.size(), 4) + Digits(data.size(), 5);
        data += field;
    }
    directory += "\x1e";
    const std::size_t base = 24 + directory.size();
    const std::size_t length = base + data.size() + 1;
    const std::string leader = Digits(length, 5) + "nam a22" + Digits(base, 5) + "   4500";
    return leader + directory + data + "\x1d";
}

std::string MarcXml(const std::vector<TestRecord>& records) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<collection xmlns=\"http://www.loc.gov/MARC21/slim\">\n";
    for (const TestRecord& r : records) {
        xml += "<record><leader>00000nam a2200000   4500</leader>\n";
        for (const TestField& f : r) {
            xml += "<datafield tag=\"" + f.tag + "\" ind1=\" \" ind2=\" \">";
            for (const auto& [code, value] : f.subfields)
                xml += "<subfield code=\"" + std::string(1, code) + "\">" + value + "</subfield>";
            xml += "</datafield>\n";
        }
        xml += "</record>\n";
    }
    return xml + "</collection>\n";
}

TestRecord Book(const std::string& title, const std::string& isbn, TestRecord more) {
    TestRecord r{{"020", {{'a', isbn}}}, {"245", {{'a', title}}}};
    r.insert(r.end(), more.begin(), more.end());
    return r;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace catalogue_test
