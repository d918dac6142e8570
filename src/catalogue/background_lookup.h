// A lookup run on a thread of its own, so that the window that asked keeps
// repainting while a request waits (up to 30 s each).
//
// The lookup writes a copy of the book's columns, never the data set itself
// (the data module's tables belong to the interface thread); its messages
// are shown on the calling thread through `say`, the lookup waiting for each
// answer. Meanwhile the calling thread runs a local event loop that leaves
// user input (keys, mouse, the window's close box) waiting until the lookup
// has ended; it is delivered afterwards, nothing is lost.
//
// After a lookup that returned, the columns it set are written into the book
// (put into edit mode first when the lookup asked for it). A lookup's
// exception (LookupAbandoned, a Utf8Error, any other) is thrown from here
// instead, the book unchanged.
#pragma once

#include <functional>
#include <string>

#include "catalogue/lookup.h"

namespace engine {
class TDataSet;
}

namespace kashidashi::catalogue {

using Lookup = std::function<void(const std::string& isbnDigits, LookupContext& context)>;

void RunInBackground(const Lookup& lookup, const std::string& isbnDigits, engine::TDataSet& book,
                     const std::function<void(const std::string& message)>& say);

}  // namespace kashidashi::catalogue
