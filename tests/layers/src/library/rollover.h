// The library reaching up into the tools.
#pragma once
#include "catalogue/lookup.h"
#include "tools/csv.h"
