#include "engine/dataset/dataset.h"

#include <algorithm>

#include "engine/common/error.h"
#include "engine/common/names.h"

namespace engine {
namespace {
const Value kNull;
}

TDataSet::~TDataSet() = default;

void TDataSet::AddPersistentField(std::unique_ptr<TField> field) {
    if (Active()) throw DataSetError("開いているデータセットには項目を追加できません");
    field->Attach(this, static_cast<int>(fields_.size()), -1);
    fields_.push_back(std::move(field));
    persistentCount_ = static_cast<int>(fields_.size());
}

TField* TDataSet::FindField(std::string_view name) const {
    for (const auto& field : fields_)
        if (SameName(field->FieldName(), name)) return field.get();
    return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) const {
    if (TField* field = FindField(name)) return *field;
    throw DataSetError::FieldNotFound(name);
}

void TDataSet::BindFields() {
    if (persistentCount_ == 0) {
        for (size_t i = 0; i < columns_.size(); ++i) {
            auto field = std::make_unique<TField>(columns_[i].name, columns_[i].type.type,
                                                  columns_[i].type.size);
            field->Attach(this, static_cast<int>(i), static_cast<int>(i));
            fields_.push_back(std::move(field));
        }
        return;
    }
    for (auto& field : fields_) {
        if (field->fieldKind != FieldKind::fkData) continue;
        int column = -1;
        for (size_t i = 0; i < columns_.size() && column < 0; ++i)
            if (SameName(columns_[i].name, field->FieldName())) column = static_cast<int>(i);
        if (column < 0) throw DataSetError::FieldNotFound(field->FieldName());
        field->Attach(this, field->Index(), column);
    }
}

void TDataSet::Open() {
    if (Active()) return;
    columns_ = DoOpen();
    try {
        BindFields();
    } catch (...) {
        DoClose();
        columns_.clear();
        throw;
    }
    SetState(DataSetState::dsBrowse);
    SetCurrent(DoFirst(), DataSetChange::Rows);
}

void TDataSet::Close() {
    if (!Active()) return;
    if (state_ == DataSetState::dsEdit && original_) DoEndEdit(*original_);
    DoClose();
    current_.reset();
    original_.reset();
    fields_.resize(persistentCount_);
    columns_.clear();
    modified_ = false;
    eof_ = bof_ = true;
    SetState(DataSetState::dsInactive);
    NotifyDataSetChanged(DataSetChange::Rows);
}

void TDataSet::RequireActive() const {
    if (!Active()) throw DataSetError("データセット '" + DataSetName() + "' が開いていません");
}

void TDataSet::SetState(DataSetState state) {
    if (state_ == state) return;
    state_ = state;
    ForEachObserver([&](DataSetObserver* o) { o->StateChanged(*this); });
}

void TDataSet::Move(std::optional<storage::Row> row, bool forward) {
    bool found = row.has_value();
    if (found) SetCurrent(std::move(row));
    eof_ = (forward && !found) || !current_;
    bof_ = (!forward && !found) || !current_;
    if (found && AfterScroll) AfterScroll(*this);
}

void TDataSet::SetCurrent(std::optional<storage::Row> row, DataSetChange change) {
    current_ = std::move(row);
    eof_ = bof_ = !current_.has_value();
    CalculateFields();
    NotifyDataSetChanged(change);
}

void TDataSet::CalculateFields() {
    for (auto& field : fields_)
        if (field->fieldKind == FieldKind::fkCalculated) field->calcValue_ = Value();
    if (OnCalcFields && current_) OnCalcFields(*this);
}

void TDataSet::First() {
    CheckBrowseMode();  // also fails on a closed data set
    SetCurrent(DoFirst());
    if (current_ && AfterScroll) AfterScroll(*this);
}

void TDataSet::Next() {
    CheckBrowseMode();
    if (!current_) return;
    Move(DoNext(), true);
}

void TDataSet::Prior() {
    CheckBrowseMode();
    if (!current_) return;
    Move(DoPrior(), false);
}

void TDataSet::Last() {
    CheckBrowseMode();  // also fails on a closed data set
    SetCurrent(DoLast());
    eof_ = true;
    if (current_ && AfterScroll) AfterScroll(*this);
}

int64_t TDataSet::RecordCount() {
    RequireActive();
    return DoRecordCount();
}

bool TDataSet::GotoBookmark(const Bookmark& bookmark) {
    CheckBrowseMode();  // also fails on a closed data set
    auto row = DoSeek(bookmark);
    if (!row) return false;
    SetCurrent(std::move(row));
    if (AfterScroll) AfterScroll(*this);
    return true;
}

const Value& TDataSet::ColumnValue(int column) const {
    if (!current_ || column < 0 || column >= static_cast<int>(current_->values.size()))
        return kNull;
    return current_->values[column];
}

void TDataSet::SetColumnValue(int column, const Value& value, const TField& field) {
    if (state_ != DataSetState::dsEdit && state_ != DataSetState::dsInsert)
        throw DataSetError("データセット '" + DataSetName() + "' は編集中ではありません");
    if (field.ReadOnly) throw DataSetError("項目 '" + field.FieldName() + "' は変更できません");
    current_->values.at(column) = value;
    modified_ = true;
    CalculateFields();
    ForEachObserver([&](DataSetObserver* o) { o->FieldChanged(const_cast<TField&>(field)); });
}

}  // namespace engine
