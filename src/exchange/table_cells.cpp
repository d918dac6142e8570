#include "exchange/table_cells.h"

namespace kashidashi::exchange {

void SetCells(engine::TDataSet& dataSet, const Cells& cells) {
    for (const auto& [name, value] : cells) dataSet.FieldByName(name).SetValue(value);
}

void AppendRows(engine::TDataSet& dataSet, const std::vector<Cells>& rows) {
    for (const auto& row : rows) {
        dataSet.Append();
        SetCells(dataSet, row);
        dataSet.Post();
    }
}

}  // namespace kashidashi::exchange
