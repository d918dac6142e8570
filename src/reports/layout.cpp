#include "reports/layout.h"

#include <algorithm>
#include <cctype>

namespace kashidashi::reports {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

ReportObject* FindIn(std::vector<ReportObject>& objects, std::string_view name) {
    for (ReportObject& object : objects)
        if (SameName(object.name, name)) return &object;
    return nullptr;
}

}  // namespace

const Band* Layout::BandOf(BandKind kind) const {
    for (const Band& band : bands)
        if (band.kind == kind) return &band;
    return nullptr;
}

ReportObject* Layout::FindObject(std::string_view name) {
    if (name.empty()) return nullptr;
    if (ReportObject* found = FindIn(pageObjects, name)) return found;
    for (Band& band : bands)
        if (ReportObject* found = FindIn(band.objects, name)) return found;
    return nullptr;
}

}  // namespace kashidashi::reports
