// A catalogue that reaches sideways into the grid.
#pragma once
#include "grid/shelf.h"
#include "platform/paths.h"
