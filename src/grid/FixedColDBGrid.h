// TFixedColDBGrid: the data grid with fixed columns on which every list of
// the desk stands. It shows the records of the data set of a TDataSource as
// rows and its persistent columns (TColumn) as columns, and follows the data
// set's current record both ways: selecting a row makes that record current,
// and moving the data set moves the selection.
//
// Rows are read as the view needs them (a model over the data set fetches a
// batch at a time when the view scrolls to the end of what it has), so a
// grid over a table of 100,000 books opens after reading one screenful.
//
// Keys: Up and Down move to the previous and next record; Down on the last
// record appends a record when CanAppend(); Ctrl+Delete deletes the current
// record when CanDelete(), after the question "レコードを削除してもよいですか？"
// while dgConfirmDelete is set; Tab never stops on a fixed column; Home and
// Ctrl+Left go to the first column after the fixed ones, and Left does not
// move into them (unless whole rows are selected). Leaving the grid while an
// untouched new record is being inserted cancels the insert
// (dgCancelOnExit). A key press goes to OnKeyPress first; when that returns
// true the key is consumed and the grid does nothing with it.
//
// Editing: a cell is edited in place when dgEditing is set, neither the grid
// nor the column is read-only, the field may be written and the data set can
// be modified; the first change puts the data set in edit state, and the row
// is posted when the operator leaves it (or the window posts it).
//
// A grid over a private copy of a query result (not a live result) never
// deletes and never appends: nothing stored would change. Its cells can be
// edited, since the windows save such edits themselves (the memo columns).
//
// The grid owns its columns and its model; the data source and the data set
// belong to the window or the data module.
#pragma once

#include <QTableView>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/data_source.h"

class QKeyEvent;

namespace engine {
class TDataSet;
class TField;
}  // namespace engine

namespace kashidashi {

class DataSetModel;

// The grid options; a set of them is an int of or-ed values.
enum GridOption : int {
    dgEditing = 0x1,
    dgTitles = 0x2,
    dgIndicator = 0x4,
    dgColumnResize = 0x8,
    dgColLines = 0x10,
    dgRowLines = 0x20,
    dgTabs = 0x40,
    dgRowSelect = 0x80,
    dgAlwaysShowSelection = 0x100,
    dgConfirmDelete = 0x200,
    dgCancelOnExit = 0x400,
};
constexpr int kDefaultGridOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize |
                                    dgColLines | dgRowLines | dgConfirmDelete | dgCancelOnExit;

// The input method a column's editor asks for.
enum class TImeMode { imDontCare, imClose, imDisable, imOpen, imHira, imAlpha };

// A persistent column, bound to a field by name.
struct TColumn {
    std::string FieldName;
    QString Title;   // empty: the field's display label
    int Width = -1;  // pixels; -1: from the field's display width
    bool Visible = true;
    bool ReadOnly = false;
    TImeMode ImeMode = TImeMode::imDontCare;
};

class TFixedColDBGrid : public QTableView, private TDataSource::Link {
    Q_OBJECT
  public:
    static constexpr const char* kDeleteQuestion = "レコードを削除してもよいですか？";

    explicit TFixedColDBGrid(QWidget* parent = nullptr);
    ~TFixedColDBGrid() override;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* dataSource);
    engine::TDataSet* DataSet() const;

    // Persistent columns, in grid order. Without any, the grid shows one
    // column per field of the open data set.
    TColumn& AddColumn(std::string fieldName, int width = -1);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TColumn& Columns(int index) { return columns_.at(index); }
    const TColumn& Columns(int index) const { return columns_.at(index); }
    // The width a column reports: 0 or less while it is hidden.
    int ColumnWidth(int index) const;
    // Re-reads the columns after the window changed them.
    void ColumnsChanged();

    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int Options() const { return options_; }
    void SetOptions(int options);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // The data column that has the focus (0-based), and moving it.
    int SelectedIndex() const;
    void SetSelectedIndex(int column);
    // The field of a column; nullptr while the data set is closed or has no such field.
    engine::TField* ColumnField(int column) const;

    bool CanEdit() const;    // cells may be edited at all
    bool CanAppend() const;  // Down on the last record appends
    bool CanDelete() const;  // Ctrl+Delete deletes

    // The window's key-press handler: true consumes the key.
    std::function<bool(QKeyEvent&)> OnKeyPress;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void DataSetReplaced(engine::TDataSet* dataSet) override;
    void Rebind();
    void ApplyColumns();
    void ApplyOptions();
    bool MoveRecord(int delta);
    void DeleteRecord();
    void CancelUntouchedInsert();
    // Helpers of the files beside this one.
    void ConnectModel();
    void RebuildDefaultColumns();
    int DefaultWidth(int column) const;
    bool CellEditable(int column) const;
    int FirstFreeColumn() const;
    int NextFreeColumn(int column, int step) const;
    QModelIndex FreeIndex(QModelIndex index) const;
    void FollowDataSet(int row);
    void MoveToRow(int row);
    void MoveToEnd(bool last);
    void CancelPendingRow();
    bool HandleDeskKey(QKeyEvent& event);
    void CommitEditor(bool close = true);
    void LeftGrid(QWidget* now);
    void ShowError(const std::exception& error);

    TDataSource* dataSource_ = nullptr;
    std::vector<TColumn> columns_;
    std::unique_ptr<DataSetModel> model_;
    int fixedCols_ = 0;
    int options_ = kDefaultGridOptions;
    bool readOnly_ = false;
    bool defaultColumns_ = true;    // columns_ are the open data set's fields
    bool following_ = false;        // the view is being moved to the data set's record
    int modelChanging_ = 0;         // rows of the model are coming or going
    bool applyingColumns_ = false;  // widths are being set from columns_
    int selectedColumn_ = 0;
};

}  // namespace kashidashi
