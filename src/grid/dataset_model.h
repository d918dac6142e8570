// DataSetModel: the rows of a data set as a Qt table model, read lazily.
//
// Rows are read a batch at a time by walks that start at the last row read
// (a bookmark jump) and end back on the current row, so the window never
// sees them (DataSetWalk). The first batch is kBatchRows rows; each further
// one reads as many rows as were read before, up to kMostBatchRows, so a
// long scroll asks for few batches and none stalls the window for long. Opening reads up to the
// current record only; the view asks for more as it scrolls (canFetchMore / fetchMore); when the
// data set jumps to a row not read yet (a key search, Last), the model reads on up to it. Each row
// read keeps its id and the display texts of the grid's columns (TField::DisplayText). Rows are
// read only while the data set browses: a walk would settle a pending edit.
//
// Notices: "rows may differ" re-reads from the start; "another row is
// current" moves CurrentRow(); "the current row changed" and field changes
// re-read that row's texts. While the data set inserts, the new row is shown
// as an extra row after the row that was current.
//
// The columns are the grid's (a reference the grid keeps alive); the model
// only reads them. It observes its data set from SetDataSet until SetDataSet
// names another (or nullptr) or the model is destroyed.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/dataset/dataset.h"
#include "grid/FixedColDBGrid.h"

namespace kashidashi {

class DataSetModel : public QAbstractTableModel, private engine::DataSetObserver {
    Q_OBJECT
  public:
    static constexpr int kBatchRows = 200;
    static constexpr int kMostBatchRows = 10'000;

    explicit DataSetModel(const std::vector<TColumn>& columns, QObject* parent = nullptr);
    ~DataSetModel() override;

    void SetDataSet(engine::TDataSet* dataSet);
    engine::TDataSet* DataSet() const { return dataSet_; }
    // The field of a column; nullptr when the data set is closed or lacks it.
    engine::TField* Field(int column) const;
    // Re-binds the columns and re-reads the rows from the start.
    void Reload();

    // The view row of the current record; -1 when there is none.
    int CurrentRow() const { return currentRow_; }
    // Makes the record of a view row current. False when that row is gone
    // or is the new row being inserted; engine errors pass to the caller
    // (moving settles a pending edit).
    bool MakeCurrent(int row);
    // Rows read from the data set by the model's walks since it was made.
    int64_t RowsRead() const { return rowsRead_; }
    // True when every row of the data set has been read.
    bool AllRead() const { return atEnd_; }

    // Set by the grid: whether a column's cells may be edited now; where
    // the grid's own default columns are rebuilt before a re-bind; where
    // engine errors of reads and writes go.
    std::function<bool(int column)> CellEditable;
    std::function<void()> BeforeBind;
    std::function<void(const std::exception&)> OnError;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  signals:
    // The current record moved to another view row (or to -1).
    void CurrentRowMoved(int row);

  private:
    struct CachedRow {
        engine::storage::RowId id = 0;
        std::vector<QString> texts;
    };

    void DataSetChanged(engine::TDataSet& dataSet, engine::DataSetChange change) override;
    void StateChanged(engine::TDataSet& dataSet) override;
    void FieldChanged(engine::TField& field) override;

    bool Browsing() const;
    bool FetchBatch();
    std::vector<CachedRow> ReadBatch();
    std::vector<QString> ReadTexts() const;
    void SyncCurrent();
    void SetCurrentRow(int row);
    void RefreshCurrent();
    void ShowInsertedRow();
    void DropInsertedRow();
    const CachedRow* RowAt(int row) const;
    int RowOf(engine::storage::RowId id) const;
    QString IndicatorMark(int row) const;
    void Report(const std::exception& error);

    const std::vector<TColumn>& columns_;
    engine::TDataSet* dataSet_ = nullptr;
    std::vector<engine::TField*> fields_;
    std::vector<CachedRow> rows_;
    std::unordered_map<engine::storage::RowId, int> index_;  // id -> position in rows_
    std::optional<CachedRow> inserted_;                      // the row being inserted
    int insertedAt_ = -1;                                    // its view row
    int currentRow_ = -1;
    bool atEnd_ = true;
    int64_t rowsRead_ = 0;
};

}  // namespace kashidashi
