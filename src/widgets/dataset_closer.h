// Closes a data set when the scope ends, also when an engine error leaves it:
// table and query objects are closed when idle.
#pragma once

#include <initializer_list>

#include "engine/dataset/dataset.h"

namespace kashidashi {

// Closes data sets after a failure or at the end of an operation. Closing
// drops an unposted row and its lock; a failure of the close itself leaves
// nothing to report.
inline void CloseQuietly(std::initializer_list<engine::TDataSet*> dataSets) {
    for (engine::TDataSet* dataSet : dataSets) {
        try {
            dataSet->Close();
        } catch (...) {
        }
    }
}

class DataSetCloser {
  public:
    explicit DataSetCloser(engine::TDataSet& dataSet) : dataSet_(dataSet) {}
    ~DataSetCloser() { CloseQuietly({&dataSet_}); }
    DataSetCloser(const DataSetCloser&) = delete;
    DataSetCloser& operator=(const DataSetCloser&) = delete;

  private:
    engine::TDataSet& dataSet_;
};

}  // namespace kashidashi
