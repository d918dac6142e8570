#include "catalogue/lookup_record.h"

namespace kashidashi::catalogue {

TLookupRecord& LookupRecord() {
    static TLookupRecord record;
    return record;
}

}  // namespace kashidashi::catalogue
