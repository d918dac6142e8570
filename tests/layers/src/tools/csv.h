// A tool.
#pragma once
#include "library/year/rollover.h"
