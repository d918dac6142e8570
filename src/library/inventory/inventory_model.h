// The progress of a running check and its books not found, held by the
// window so that one scan updates them by the one book instead of reading
// every book again (a scan is answered within a reader's pace at 20,000
// books). The command and the prints read them through the same rules
// (ReadInventoryProgress, BooksNotFound in inventory.h).
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "library/inventory/inventory.h"

namespace kashidashi::library {

class InventoryModel {
  public:
    // Reads every book once: what is to be checked in the check's scope.
    void Load(engine::storage::Connection& connection);

    const InventoryProgress& Progress() const { return progress_; }
    const std::vector<ScannedBook>& Missing() const { return missing_; }

    // What one found book changed.
    struct Change {
        bool counted = false;              // the book was still to be found
        std::optional<size_t> missingRow;  // its row of Missing(), removed
        std::optional<size_t> placeLine;   // its line of Progress().byPlace
        std::optional<size_t> classLine;   // its line of Progress().byClass
    };
    // A book checked just now (ScanAnswer::Checked).
    Change Found(int64_t number);

  private:
    struct Entry {
        size_t placeLine = 0, classLine = 0;
        bool checked = false;
    };
    InventoryProgress progress_;
    std::vector<ScannedBook> missing_;
    std::map<int64_t, Entry> toCheck_;  // the books to be checked, by number
};

}  // namespace kashidashi::library
