// TReportRows: the rows a report prints, offered by column name. A report
// dataset ("rptHead" over the head table) names a data set; the report reads
// the column names and the current row's values through it.
//
// Open opens the data set when it is closed and stands on its first row.
// Close closes the data set only when CloseDataSource is set: rptHead leaves
// Head open after a report. Every column of the data set is offered under its
// own name; a name it lacks is the data set layer's field-not-found error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"
#include "engine/dataset/dataset.h"

namespace kashidashi {

class TReportRows {
  public:
    TReportRows(std::string userName, engine::TDataSet& dataSet)
        : userName_(std::move(userName)), dataSet_(dataSet) {}

    const std::string& UserName() const { return userName_; }
    engine::TDataSet& DataSet() const { return dataSet_; }
    bool CloseDataSource = false;

    void Open();
    void Close();
    void First() { dataSet_.First(); }
    void Next() { dataSet_.Next(); }
    bool Eof() const { return dataSet_.Eof(); }

    std::vector<std::string> ColumnNames() const;  // in the data set's order
    engine::Value ValueOf(std::string_view column) const;
    std::string TextOf(std::string_view column) const;  // "" for NULL

  private:
    std::string userName_;
    engine::TDataSet& dataSet_;
};

}  // namespace kashidashi
