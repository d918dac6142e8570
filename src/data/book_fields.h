// The persistent fields of the BOOK table object, with the computed ISBN2,
// Phaiki and Pkintai that TDM::BOOKCalcFields fills.
#pragma once

#include "engine/dataset/table.h"

namespace kashidashi {

void DeclareBookFields(engine::TDBTable& book);

}  // namespace kashidashi
