// The data sets a report reads, each under the name its layout uses
// ("rptHead", "rptDBDataset1"). A source is opened when the report is
// prepared (a closed data set is opened and stands on its first row; an open
// one keeps its current row), walked by the master data band, and closed
// afterwards only when it closes its data set.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/field_type.h"
#include "engine/common/value.h"

namespace engine {
class TDataSet;
}

namespace kashidashi {
class TReportRows;
}

namespace kashidashi::reports {

struct FieldReading {
    engine::Value value;  // as stored (NULL when empty)
    engine::FieldType type = engine::FieldType::String;
    std::string displayText;  // the field's display format applied
};

class ReportSource {
  public:
    virtual ~ReportSource() = default;
    virtual const std::string& Name() const = 0;
    virtual void Open() = 0;  // throws the data set's error
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    virtual void Close() = 0;
    // The current row's field; throws when the data set has no such field.
    virtual FieldReading Field(std::string_view name) const = 0;
};

// Closes every source when a report is done or has failed (a failing Close
// is not allowed to hide the report's own error).
struct SourcesClosed {
    const std::vector<ReportSource*>& sources;
    ~SourcesClosed() {
        for (ReportSource* source : sources) {
            try {
                source->Close();
            } catch (...) {
            }
        }
    }
};

// A source over an engine data set; `closeAfter`: closed after the report.
std::unique_ptr<ReportSource> DataSetSource(std::string name, engine::TDataSet& dataSet,
                                            bool closeAfter);
// A source over a report dataset of the data module (rptHead).
std::unique_ptr<ReportSource> RowsSource(TReportRows& rows);

}  // namespace kashidashi::reports
