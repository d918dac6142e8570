#include "data/report_rows.h"

namespace kashidashi {

void TReportRows::Open() {
    if (!dataSet_.Active()) dataSet_.Open();
    dataSet_.First();
}

void TReportRows::Close() {
    if (CloseDataSource) dataSet_.Close();
}

std::vector<std::string> TReportRows::ColumnNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < dataSet_.FieldCount(); ++i) names.push_back(dataSet_.Fields(i).FieldName());
    return names;
}

engine::Value TReportRows::ValueOf(std::string_view column) const {
    return dataSet_.FieldByName(column).GetValue();
}

std::string TReportRows::TextOf(std::string_view column) const {
    return dataSet_.FieldByName(column).AsString();
}

}  // namespace kashidashi
