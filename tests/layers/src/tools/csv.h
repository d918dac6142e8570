// A tool.
#pragma once
#include "library/rollover.h"
