// The Qt side of DataSetModel: the table the view reads, the lazy reading of
// batches, and cell writes.
#include "grid/dataset_model.h"

#include <algorithm>

#include "engine/common/field_type.h"
#include "grid/dataset_walk.h"

namespace kashidashi {

DataSetModel::DataSetModel(const std::vector<TColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {}

DataSetModel::~DataSetModel() {
    if (dataSet_) dataSet_->RemoveObserver(this);
}

void DataSetModel::SetDataSet(engine::TDataSet* dataSet) {
    if (dataSet_) dataSet_->RemoveObserver(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->AddObserver(this);
    Reload();
}

engine::TField* DataSetModel::Field(int column) const {
    return column >= 0 && column < static_cast<int>(fields_.size()) ? fields_[column] : nullptr;
}

void DataSetModel::Reload() {
    beginResetModel();
    if (BeforeBind) BeforeBind();
    bool active = dataSet_ && dataSet_->Active();
    fields_.clear();
    for (const TColumn& column : columns_)
        fields_.push_back(active ? dataSet_->FindField(column.FieldName) : nullptr);
    rows_.clear();
    index_.clear();
    inserted_.reset();
    insertedAt_ = currentRow_ = -1;
    atEnd_ = !active;
    endResetModel();
    if (active && dataSet_->State() == engine::DataSetState::dsInsert) ShowInsertedRow();
    SyncCurrent();
}

bool DataSetModel::Browsing() const {
    return dataSet_ && dataSet_->State() == engine::DataSetState::dsBrowse;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(rows_.size()) + (inserted_ ? 1 : 0);
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const DataSetModel::CachedRow* DataSetModel::RowAt(int row) const {
    if (inserted_ && row == insertedAt_) return &*inserted_;
    if (inserted_ && row > insertedAt_) --row;
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[row] : nullptr;
}

int DataSetModel::RowOf(engine::storage::RowId id) const {
    auto found = index_.find(id);
    if (found == index_.end()) return -1;
    return found->second + (inserted_ && found->second >= insertedAt_ ? 1 : 0);
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    const CachedRow* row = RowAt(index.row());
    if (!row || index.column() >= static_cast<int>(row->texts.size())) return {};
    engine::TField* field = Field(index.column());
    if (role == Qt::DisplayRole) return row->texts[index.column()];
    if (role == Qt::EditRole) {
        // The editor starts from the stored text, not the formatted one.
        if (index.row() == currentRow_ && field) return QString::fromStdString(field->AsString());
        return row->texts[index.column()];
    }
    if (role == Qt::TextAlignmentRole && field && engine::IsNumericType(field->DataType()))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QString DataSetModel::IndicatorMark(int row) const {
    if (row != currentRow_ || !dataSet_) return {};
    switch (dataSet_->State()) {
        case engine::DataSetState::dsEdit:
            return QStringLiteral("Ｉ");
        case engine::DataSetState::dsInsert:
            return QStringLiteral("＊");
        default:
            return QStringLiteral("▶");
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return IndicatorMark(section);
    if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
    const TColumn& column = columns_[section];
    if (!column.Title.isEmpty()) return column.Title;
    if (engine::TField* field = Field(section))
        return QString::fromStdString(field->DisplayLabel());
    // A closed data set still has its declared fields and their labels.
    if (dataSet_)
        if (engine::TField* declared = dataSet_->FindField(column.FieldName))
            return QString::fromStdString(declared->DisplayLabel());
    return QString::fromStdString(column.FieldName);
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.row() == currentRow_ && CellEditable && CellEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    engine::TField* field = Field(index.column());
    if (role != Qt::EditRole || index.row() != currentRow_ || !field) return false;
    std::string text = value.toString().toStdString();
    try {
        bool browsing = Browsing();
        if (browsing && text == field->AsString()) return true;  // nothing changed
        if (browsing) dataSet_->Edit();
        field->SetAsString(text);
        return true;
    } catch (const std::exception& error) {
        Report(error);
        return false;
    }
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !atEnd_ && Browsing();
}

void DataSetModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) FetchBatch();
}

// Reads the next batch; false when nothing more came.
bool DataSetModel::FetchBatch() {
    std::vector<CachedRow> batch;
    try {
        batch = ReadBatch();
    } catch (const std::exception& error) {
        atEnd_ = true;
        Report(error);
        return false;
    }
    if (batch.empty()) return false;
    int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
    for (auto& row : batch) {
        index_[row.id] = static_cast<int>(rows_.size());
        rows_.push_back(std::move(row));
    }
    endInsertRows();
    return true;
}

std::vector<DataSetModel::CachedRow> DataSetModel::ReadBatch() {
    std::vector<CachedRow> batch;
    DataSetWalk walk(*dataSet_);
    bool more = false;
    if (rows_.empty()) {
        dataSet_->First();
        more = !dataSet_->IsEmpty();
    } else if (walk.GoTo(rows_.back().id)) {
        dataSet_->Next();
        more = !dataSet_->Eof();
    }
    size_t size = std::clamp<size_t>(rows_.size(), kBatchRows, kMostBatchRows);
    while (more && batch.size() < size) {
        batch.push_back({dataSet_->GetBookmark()->id, ReadTexts()});
        dataSet_->Next();
        more = !dataSet_->Eof();
    }
    atEnd_ = !more;
    rowsRead_ += static_cast<int64_t>(batch.size());
    return batch;
}

std::vector<QString> DataSetModel::ReadTexts() const {
    std::vector<QString> texts;
    texts.reserve(fields_.size());
    for (engine::TField* field : fields_)
        texts.push_back(field ? QString::fromStdString(field->DisplayText()) : QString());
    return texts;
}

void DataSetModel::Report(const std::exception& error) {
    if (OnError) OnError(error);
}

}  // namespace kashidashi
