// The edit, append and post cycle of a data set, and the calls that settle,
// refresh and delete.
#include <algorithm>

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/dataset.h"

namespace engine {

void TDataSet::Edit() {
    RequireActive();
    if (state_ == DataSetState::dsEdit || state_ == DataSetState::dsInsert) return;
    if (!current_) throw EngineError::Make(err::kNoCurrentRecord, DataSetName());
    storage::Row stored = DoBeginEdit(*current_);
    original_ = stored;
    current_ = std::move(stored);
    modified_ = false;
    CalculateFields();
    SetState(DataSetState::dsEdit);
    NotifyDataSetChanged(DataSetChange::Record);
}

void TDataSet::Append() {
    CheckBrowseMode();  // also fails on a closed data set
    if (BeforeInsert && !BeforeInsert(*this)) return;
    beforeInsert_ = current_;
    // A new row starts with every column NULL; nothing is copied.
    current_ = storage::Row{0, std::vector<Value>(columns_.size())};
    modified_ = false;
    CalculateFields();
    SetState(DataSetState::dsInsert);
    NotifyDataSetChanged(DataSetChange::Record);
}

void TDataSet::Post() {
    RequireActive();
    auto change = DataSetChange::Record;
    if (state_ == DataSetState::dsEdit) {
        storage::Row posted = DoPostEdit(*original_, current_->values);
        DoEndEdit(*original_);
        original_.reset();
        current_ = std::move(posted);
    } else if (state_ == DataSetState::dsInsert) {
        current_ = DoPostInsert(current_->values);
        beforeInsert_.reset();
        change = DataSetChange::Rows;  // the new row takes its place in the order
    } else {
        return;
    }
    modified_ = false;
    SetState(DataSetState::dsBrowse);
    eof_ = bof_ = false;
    CalculateFields();
    NotifyDataSetChanged(change);
}

void TDataSet::Cancel() {
    auto change = DataSetChange::Record;
    if (state_ == DataSetState::dsEdit) {
        DoEndEdit(*original_);
        current_ = std::move(original_);
        original_.reset();
    } else if (state_ == DataSetState::dsInsert) {
        current_ = std::move(beforeInsert_);
        beforeInsert_.reset();
        change = DataSetChange::Scrolled;  // back on the row current before the insert
    } else {
        return;
    }
    modified_ = false;
    SetState(DataSetState::dsBrowse);
    eof_ = bof_ = !current_.has_value();
    CalculateFields();
    NotifyDataSetChanged(change);
}

void TDataSet::CheckBrowseMode() {
    RequireActive();
    if (state_ != DataSetState::dsEdit && state_ != DataSetState::dsInsert) return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    SetCurrent(DoRefresh(current_ ? &*current_ : nullptr), DataSetChange::Rows);
}

void TDataSet::Delete() {
    RequireActive();
    if (state_ == DataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (state_ == DataSetState::dsEdit) Cancel();
    if (!current_) throw EngineError::Make(err::kNoCurrentRecord, DataSetName());
    if (BeforeDelete && !BeforeDelete(*this)) return;
    SetCurrent(DoDelete(*current_), DataSetChange::Rows);
}

Value TDataSet::Lookup(std::string_view keyFields, const std::vector<Value>& keyValues,
                       std::string_view resultField) {
    RequireActive();
    auto names = SplitNames(keyFields);
    std::vector<int> keyColumns;
    for (const auto& name : names) keyColumns.push_back(FieldByName(name).column_);
    int result = FieldByName(resultField).column_;
    for (const auto& row : DoAllRows()) {
        bool match = true;
        for (size_t i = 0; i < keyColumns.size() && match; ++i) {
            const Value& want = i < keyValues.size() ? keyValues[i] : Value();
            match = row.values.at(keyColumns[i]) == KeyValueFor(want, *FindField(names[i]));
        }
        if (match) return row.values.at(result);
    }
    return Value();
}

Value TDataSet::KeyValueFor(const Value& value, const TField& field) {
    try {
        return ToColumnValue(value, field.Type(), field.FieldName());
    } catch (const DataSetError&) {
        return value;  // a value of another kind matches nothing
    }
}

void TDataSet::EnableControls() {
    if (disabled_ > 0 && --disabled_ == 0) NotifyDataSetChanged(DataSetChange::Rows);
}

void TDataSet::AddObserver(DataSetObserver* observer) {
    observers_.push_back(observer);
}

void TDataSet::RemoveObserver(DataSetObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TDataSet::ForEachObserver(const std::function<void(DataSetObserver*)>& f) {
    if (disabled_ > 0 || observers_.empty()) return;
    auto copy = observers_;  // an observer may remove itself
    for (auto* observer : copy) f(observer);
}

void TDataSet::NotifyDataSetChanged(DataSetChange change) {
    ForEachObserver([&](DataSetObserver* o) { o->DataSetChanged(*this, change); });
}

}  // namespace engine
