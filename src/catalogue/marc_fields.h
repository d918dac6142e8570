// One MARC21 record as its data fields (tag, subfields in order), and the
// values of the MARC database taken from them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalogue/marc_source.h"

namespace kashidashi::catalogue {

struct MarcField {
    std::string tag;
    std::vector<std::pair<char, std::string>> subfields;
    // The first subfield of that code, "" when none.
    std::string Sub(char code) const;
};
using MarcRecord = std::vector<MarcField>;

// The values of the record, without "isbn" (see MarcIsbn10s).
MarcValues MarcValuesOf(const MarcRecord& record);
// The distinct ISBN-10s of its 020 $a (an ISBN-13 beginning 978 converted).
std::vector<std::string> MarcIsbn10s(const MarcRecord& record);

}  // namespace kashidashi::catalogue
