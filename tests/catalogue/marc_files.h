// Small MARC21 files made by the tests: ISO 2709 records and MARCXML
// documents from a list of data fields.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace catalogue_test {

struct TestField {
    std::string tag;
    std::vector<std::pair<char, std::string>> subfields;
};
using TestRecord = std::vector<TestField>;

// One ISO 2709 record (leader, directory, fields; UTF-8, leader/09 "a").
std::string Iso2709(const TestRecord& record);
// A MARCXML collection of the records.
std::string MarcXml(const std::vector<TestRecord>& records);
// A book record: title, ISBN, and the further fields given.
TestRecord Book(const std::string& title, const std::string& isbn, TestRecord more = {});
// Writes the bytes to the file.
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace catalogue_test
