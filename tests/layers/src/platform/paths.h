// A layer below the engine.
#pragma once
