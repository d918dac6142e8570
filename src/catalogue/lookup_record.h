// TLookupRecord: what the last lookup found, in the form the lookups work
// in (code page 932 bytes, no length limit). One instance for the whole run;
// every lookup empties it before it fills it.
#pragma once

#include <string>

namespace kashidashi::catalogue {

struct TLookupRecord {
    std::string SeriesTitle, Title, Subtitle;
    std::string Author1, Author2, Author3, Author4;
    std::string TitleReading, AuthorReading;
    std::string Publisher, Issued, Size, Pages, Price;
    std::string Url, Classification, Caption;

    void Clear() { *this = TLookupRecord(); }
};

// The program's one looked-up record.
TLookupRecord& LookupRecord();

}  // namespace kashidashi::catalogue
