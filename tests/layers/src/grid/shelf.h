// The grid.
#pragma once
#include "engine/value.h"
