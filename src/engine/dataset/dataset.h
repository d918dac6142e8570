// The data set layer shared by tables and queries: a current row, a state,
// fields, navigation and the edit/append/post cycle.
//
// States: inactive (closed) -> browse on Open; browse -> edit (Edit) or
// insert (Append/Insert); edit or insert -> browse on Post, on Cancel, or when
// CheckBrowseMode settles the pending change (posts it when a field changed,
// cancels it otherwise); any -> inactive on Close, which drops an unposted row.
// A failed operation leaves the data set in the state it had: a failed Post
// stays in edit or insert, a failed Edit stays in browse.
//
// Eof: true after Next found no further row (the current row stays the last
// one) and on an empty data set. A new row starts with every column NULL.
//
// Persistent fields are declared before Open (AddField) and are bound to the
// result columns by name; a data set without persistent fields makes one
// field per column while it is open. The data set owns its fields.
//
// Observers (the grid, the data sources of edit controls) hear of changes
// unless DisableControls has suspended them; EnableControls resumes them and
// tells them once that everything may have changed. Each change says what
// kind it is, so that a grid redraws one row after a post and re-reads its
// rows only when rows came or went.
//
// Bookmarks: a row as it was current; GotoBookmark makes it current again
// (as stored now) without walking the rows between, and is false, the
// current row unchanged, when the row is gone.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dataset/field.h"
#include "engine/storage/connection.h"

namespace engine {

enum class DataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What a data set change was.
enum class DataSetChange {
    Rows,      // opened, closed, refreshed, rows came or went: everything may differ
    Scrolled,  // another row became current; the rows are as they were
    Record,    // the current row's values changed (posted, cancelled, begun)
};

class DataSetObserver {
  public:
    virtual ~DataSetObserver() = default;
    virtual void DataSetChanged(TDataSet&, DataSetChange) {}
    virtual void StateChanged(TDataSet&) {}
    virtual void FieldChanged(TField&) {}
};

class TDataSet {
  public:
    TDataSet() = default;
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    template <class F, class... A>
    F& AddField(A&&... args) {
        auto field = std::make_unique<F>(std::forward<A>(args)...);
        F& ref = *field;
        AddPersistentField(std::move(field));
        return ref;
    }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) const { return *fields_.at(index); }
    TField& FieldByName(std::string_view name) const;  // DataSetError when missing
    TField* FindField(std::string_view name) const;    // nullptr when missing

    void Open();
    void Close();
    bool Active() const { return state_ != DataSetState::dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    DataSetState State() const { return state_; }
    bool Modified() const { return modified_; }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return !current_.has_value() && state_ != DataSetState::dsInsert; }
    int64_t RecordCount();

    using Bookmark = storage::Row;
    std::optional<Bookmark> GetBookmark() const { return current_; }
    bool GotoBookmark(const Bookmark& bookmark);

    void Edit();
    void Append();
    void Insert() { Append(); }
    void Post();
    void Cancel();
    void CheckBrowseMode();
    void Refresh();
    void Delete();

    // The result field of the first row whose key fields (";"-separated)
    // equal the values; the current row does not move. NULL when none.
    virtual Value Lookup(std::string_view keyFields, const std::vector<Value>& keyValues,
                         std::string_view resultField);

    void DisableControls() { ++disabled_; }
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }
    void AddObserver(DataSetObserver* observer);
    void RemoveObserver(DataSetObserver* observer);

    std::function<void(TDataSet&)> OnCalcFields;
    std::function<bool(TDataSet&)> BeforeInsert;  // false refuses the insert silently
    std::function<bool(TDataSet&)> BeforeDelete;  // false refuses the delete silently
    std::function<void(TDataSet&)> AfterScroll;

    // For fields: the value of a result column in the current row.
    const Value& ColumnValue(int column) const;
    void SetColumnValue(int column, const Value& value, const TField& field);
    const std::vector<storage::ColumnDef>& Columns() const { return columns_; }
    // A name for error texts: the table's name or the query's.
    virtual std::string DataSetName() const = 0;

  protected:
    // What a concrete data set supplies. Rows carry all result columns.
    virtual std::vector<storage::ColumnDef> DoOpen() = 0;
    virtual void DoClose() = 0;
    virtual std::optional<storage::Row> DoFirst() = 0;
    virtual std::optional<storage::Row> DoLast() = 0;
    virtual std::optional<storage::Row> DoNext() = 0;
    virtual std::optional<storage::Row> DoPrior() = 0;
    virtual int64_t DoRecordCount() = 0;
    virtual std::vector<storage::Row> DoAllRows() = 0;  // for Lookup
    // Edit: locks the row and returns it as stored now.
    virtual storage::Row DoBeginEdit(const storage::Row& row) = 0;
    virtual void DoEndEdit(const storage::Row& row) = 0;  // releases the lock
    // Post: writes the row and returns it as it now stands, positioned on it.
    virtual storage::Row DoPostEdit(const storage::Row& original,
                                    const std::vector<Value>& values) = 0;
    virtual storage::Row DoPostInsert(std::vector<Value> values) = 0;
    // Delete: removes the row and returns the row that becomes current.
    virtual std::optional<storage::Row> DoDelete(const storage::Row& row) = 0;
    virtual std::optional<storage::Row> DoRefresh(const storage::Row* current) = 0;
    // Stands on `row` again, as stored now; nothing when it is gone.
    virtual std::optional<storage::Row> DoSeek(const storage::Row& row) = 0;

    // For subclasses that move the current row themselves (key searches).
    void SetCurrent(std::optional<storage::Row> row,
                    DataSetChange change = DataSetChange::Scrolled);
    const storage::Row* CurrentRow() const { return current_ ? &*current_ : nullptr; }
    void RequireActive() const;
    // A key value converted to the field's type, for comparing with stored values.
    static Value KeyValueFor(const Value& value, const TField& field);
    int ColumnOf(const TField& field) const { return field.column_; }
    void NotifyDataSetChanged(DataSetChange change);

  private:
    void AddPersistentField(std::unique_ptr<TField> field);
    void BindFields();
    void CalculateFields();
    void SetState(DataSetState state);
    void Move(std::optional<storage::Row> row, bool forward);
    void ForEachObserver(const std::function<void(DataSetObserver*)>& f);

    std::vector<std::unique_ptr<TField>> fields_;
    int persistentCount_ = 0;
    std::vector<storage::ColumnDef> columns_;
    DataSetState state_ = DataSetState::dsInactive;
    std::optional<storage::Row> current_;       // the row as shown; edited in place
    std::optional<storage::Row> original_;      // the row as stored when the edit began
    std::optional<storage::Row> beforeInsert_;  // the current row before an insert
    bool eof_ = true;
    bool bof_ = true;
    bool modified_ = false;
    int disabled_ = 0;
    std::vector<DataSetObserver*> observers_;
};

}  // namespace engine
