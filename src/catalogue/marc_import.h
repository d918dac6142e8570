// The MARC import: MARC21 bibliographic records (ISO 2709, or MARCXML) read
// through libyaz into the values of the MARC database (marc_source.h), and
// the database written in one transaction. The mapping of fields and
// subfields is in the README.
#pragma once

#include <string>
#include <vector>

#include "catalogue/marc_source.h"

namespace kashidashi::catalogue {

// The records of the file, each with its ISBN-10 in "isbn"; a record with
// several ISBN-10s (several 020 fields) gives one entry per ISBN. A record
// without an ISBN that has an ISBN-10 cannot be looked up: it is skipped and
// its number (counting from 1 in the file) added to `withoutIsbn`. A record
// that cannot be read, has no title (245 $a) or text that is not UTF-8 adds
// "レコード N: reason" to `bad`. A file that holds no record at all adds one
// line to `bad`.
std::vector<MarcValues> ReadMarcFile(const std::string& path, std::vector<std::string>& bad,
                                     std::vector<int>& withoutIsbn);
// As above, the skipped records not reported.
std::vector<MarcValues> ReadMarcFile(const std::string& path, std::vector<std::string>& bad);

// Stores the entries in the database at the path (a program path; the file
// and its folder are made when missing), replacing the records stored under
// the same ISBN, all in one transaction: on any failure nothing is changed.
// Throws MarcError.
void WriteMarcDatabase(const std::string& path, const std::vector<MarcValues>& entries);

}  // namespace kashidashi::catalogue
