// TFixedColDBGrid: construction, the data source link, columns and options.
// Keys and moves are in grid_navigation.cpp, editing in grid_editing.cpp.
#include "grid/FixedColDBGrid.h"

#include <QApplication>
#include <QHeaderView>

#include "engine/dataset/dataset.h"
#include "grid/dataset_model.h"
#include "grid/dataset_rules.h"
#include "grid/grid_delegate.h"
#include "widgets/dialogs.h"

namespace kashidashi {

TFixedColDBGrid::TFixedColDBGrid(QWidget* parent)
    : QTableView(parent), model_(std::make_unique<DataSetModel>(columns_)) {
    // While rows come and go the view moves its current cell by itself; that
    // must not move the data set. The count goes up before the view hears of
    // the change (connected before the view's own handlers) and down after.
    auto begin = [this] { ++modelChanging_; };
    connect(model_.get(), &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(model_.get(), &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(model_.get(), &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
    setModel(model_.get());
    setItemDelegate(new GridDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("＊")) + 6);
    ConnectModel();
    ApplyOptions();
}

TFixedColDBGrid::~TFixedColDBGrid() {
    if (dataSource_) dataSource_->RemoveLink(this);
    dataSource_ = nullptr;
    model_->disconnect(this);
    model_->SetDataSet(nullptr);
    setModel(nullptr);
}

void TFixedColDBGrid::ConnectModel() {
    model_->BeforeBind = [this] { RebuildDefaultColumns(); };
    model_->CellEditable = [this](int column) { return CellEditable(column); };
    model_->OnError = [this](const std::exception& error) { ShowError(error); };
    connect(model_.get(), &DataSetModel::CurrentRowMoved, this, &TFixedColDBGrid::FollowDataSet);
    connect(model_.get(), &QAbstractItemModel::modelReset, this, &TFixedColDBGrid::ApplyColumns);
    auto end = [this] { --modelChanging_; };
    connect(model_.get(), &QAbstractItemModel::modelReset, this, end);
    connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, end);
    connect(model_.get(), &QAbstractItemModel::rowsInserted, this, end);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (!applyingColumns_ && size > 0 && column < ColumnCount())
                    columns_[column].Width = size;  // the operator dragged it
            });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old && old != this && isAncestorOf(old)) LeftGrid(now);
    });
}

void TFixedColDBGrid::SetDataSource(TDataSource* dataSource) {
    if (dataSource == dataSource_) return;
    if (dataSource_) dataSource_->RemoveLink(this);
    dataSource_ = dataSource;
    if (dataSource_) dataSource_->AddLink(this);
    Rebind();
}

engine::TDataSet* TFixedColDBGrid::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TFixedColDBGrid::DataSetReplaced(engine::TDataSet*) {
    Rebind();
}

void TFixedColDBGrid::Rebind() {
    model_->SetDataSet(DataSet());
}

TColumn& TFixedColDBGrid::AddColumn(std::string fieldName, int width) {
    if (defaultColumns_) columns_.clear();
    defaultColumns_ = false;
    TColumn column;
    column.FieldName = std::move(fieldName);
    column.Width = width;
    columns_.push_back(std::move(column));
    ColumnsChanged();
    return columns_.back();
}

void TFixedColDBGrid::ColumnsChanged() {
    model_->Reload();
}

// Without persistent columns the grid shows the fields of the open data set.
void TFixedColDBGrid::RebuildDefaultColumns() {
    if (!defaultColumns_) return;
    columns_.clear();
    engine::TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active()) return;
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        TColumn column;
        column.FieldName = dataSet->Fields(i).FieldName();
        column.Visible = dataSet->Fields(i).Visible;
        columns_.push_back(std::move(column));
    }
}

int TFixedColDBGrid::ColumnWidth(int index) const {
    const TColumn& column = columns_.at(index);
    if (!column.Visible) return 0;
    return column.Width >= 0 ? column.Width : DefaultWidth(index);
}

// From the field's display width in digits, and never narrower than the title.
int TFixedColDBGrid::DefaultWidth(int column) const {
    engine::TField* field = ColumnField(column);
    int chars = field ? DefaultDisplayChars(*field) : 10;
    int width = chars * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4;
    if (options_ & dgTitles) {
        QString title = model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        width = std::max(width, horizontalHeader()->fontMetrics().horizontalAdvance(title) + 8);
    }
    return width;
}

void TFixedColDBGrid::ApplyColumns() {
    applyingColumns_ = true;
    for (int i = 0; i < ColumnCount(); ++i) {
        setColumnHidden(i, !columns_[i].Visible);
        if (columns_[i].Visible) setColumnWidth(i, ColumnWidth(i));
    }
    applyingColumns_ = false;
}

engine::TField* TFixedColDBGrid::ColumnField(int column) const {
    return model_->Field(column);
}

void TFixedColDBGrid::SetFixedCols(int count) {
    fixedCols_ = std::max(0, count);
    SetSelectedIndex(selectedColumn_);
}

void TFixedColDBGrid::SetOptions(int options) {
    options_ = options;
    ApplyOptions();
}

void TFixedColDBGrid::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void TFixedColDBGrid::ApplyOptions() {
    horizontalHeader()->setVisible(options_ & dgTitles);
    verticalHeader()->setVisible(options_ & dgIndicator);
    setShowGrid(options_ & (dgColLines | dgRowLines));
    horizontalHeader()->setSectionResizeMode(options_ & dgColumnResize ? QHeaderView::Interactive
                                                                       : QHeaderView::Fixed);
    bool rowSelect = options_ & dgRowSelect;
    setSelectionBehavior(rowSelect ? SelectRows : SelectItems);
    setEditTriggers(rowSelect ? NoEditTriggers
                              : DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked);
    setTabKeyNavigation(options_ & dgTabs);
}

void TFixedColDBGrid::showEvent(QShowEvent* event) {
    ApplyColumns();
    QTableView::showEvent(event);
}

void TFixedColDBGrid::ShowError(const std::exception& error) {
    Dialogs::ShowEngineError(this, error);
}

}  // namespace kashidashi
