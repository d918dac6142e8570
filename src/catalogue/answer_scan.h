// What the lookups pick out of the services' answers, by ordered substring
// scanning (lookup_text.h) of the decoded CP932 text. Pure functions: no
// download, no message, no book.
#pragma once

#include <string>

#include "catalogue/lookup_record.h"

namespace kashidashi::catalogue {

// The JSON address of the first record a national library search answer
// links to: the first link that begins with base + "/books", ended at its
// first character that cannot be part of an address and cut after its
// first "-00", followed by ".json"; "" when there is none.
std::string NdlRecordAddress(const std::string& answer, const std::string& base);

// Fills the record from a national library JSON record whose commas became
// blanks: title (60 bytes, the rest as subtitle), readings, series and
// edition, up to four creators, publisher, issued, classification (NDC8,
// else NDC9, else NDC, after NDLC), price (its first number) and extent
// (pages before "p", size without "cm").
void ScanNdlRecord(std::string text, TLookupRecord& r);

// Fills the record from a Rakuten Books answer whose commas became blanks;
// the author text is split at "/" into Author1 to Author4.
void ScanRakutenItem(std::string text, TLookupRecord& r);

}  // namespace kashidashi::catalogue
