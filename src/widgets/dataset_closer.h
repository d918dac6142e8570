// Closes a data set when the scope ends, also when an engine error leaves it:
// table and query objects are closed when idle.
#pragma once

#include "engine/dataset/dataset.h"

namespace kashidashi {

class DataSetCloser {
  public:
    explicit DataSetCloser(engine::TDataSet& dataSet) : dataSet_(dataSet) {}
    ~DataSetCloser() {
        try {
            dataSet_.Close();
        } catch (...) {
            // Closing drops an unposted row; nothing is left to report.
        }
    }
    DataSetCloser(const DataSetCloser&) = delete;
    DataSetCloser& operator=(const DataSetCloser&) = delete;

  private:
    engine::TDataSet& dataSet_;
};

}  // namespace kashidashi
