#include "tools/import_writer.h"

namespace kashidashi::admin {
namespace {

// Writes one row; true when it was a new one.
bool WriteRow(engine::TDBTable& table, const exchange::ImportTarget& target,
              const exchange::ImportRow& row) {
    const bool exists = table.FindKey({row.key});
    if (exists) {
        table.Edit();
    } else {
        table.Append();
        exchange::SetCells(table, target.newRowDefaults);
    }
    exchange::SetCells(table, row.cells);
    table.Post();
    return !exists;
}

}  // namespace

ImportCounts ApplyImport(DataFolder& folder, const exchange::ImportTarget& target,
                         const std::vector<exchange::ImportRow>& rows) {
    ImportCounts counts;
    auto table = folder.Table(target.table);
    InOneTransaction(folder, [&] {
        table->Open();  // in the order of the primary index: FindKey searches the key
        for (const auto& row : rows) {
            if (WriteRow(*table, target, row)) {
                ++counts.added;
            } else {
                ++counts.updated;
            }
        }
        table->Close();
    });
    return counts;
}

}  // namespace kashidashi::admin
