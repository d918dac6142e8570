#include "reports/report_source.h"

#include "data/report_rows.h"
#include "engine/dataset/dataset.h"
#include "engine/dataset/field.h"

namespace kashidashi::reports {
namespace {

class DataSetReader : public ReportSource {
  public:
    DataSetReader(std::string name, engine::TDataSet& dataSet, bool closeAfter)
        : name_(std::move(name)), dataSet_(dataSet), closeAfter_(closeAfter) {}
    const std::string& Name() const override { return name_; }
    void Open() override {
        if (!dataSet_.Active()) dataSet_.Open();
    }
    void First() override { dataSet_.First(); }
    void Next() override { dataSet_.Next(); }
    bool Eof() const override { return dataSet_.Eof(); }
    void Close() override {
        if (closeAfter_) dataSet_.Close();
    }
    FieldReading Field(std::string_view name) const override {
        engine::TField& field = dataSet_.FieldByName(name);
        return {field.GetValue(), field.DataType(), field.DisplayText()};
    }

  private:
    std::string name_;
    engine::TDataSet& dataSet_;
    bool closeAfter_;
};

}  // namespace

std::unique_ptr<ReportSource> DataSetSource(std::string name, engine::TDataSet& dataSet,
                                            bool closeAfter) {
    return std::make_unique<DataSetReader>(std::move(name), dataSet, closeAfter);
}

std::unique_ptr<ReportSource> RowsSource(TReportRows& rows) {
    return DataSetSource(rows.UserName(), rows.DataSet(), rows.CloseDataSource);
}

}  // namespace kashidashi::reports
