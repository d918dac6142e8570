// DataSetWalk: a walk of a grid model over the rows of its data set that the
// window never sees. While a walk lasts the data set's controls are
// suspended, its AfterScroll handler is held back, and every grid model over
// the same data set ignores the change notices (the "rows may differ" notice
// of EnableControls included), so two grids over one data set never set each
// other re-reading. The destructor stands the data set on the row that was
// current when the walk began, then resumes the controls.
//
// A walk needs the data set open in browse state: moving would otherwise
// settle a pending edit. Engine errors of the moves pass to the caller.
#pragma once

#include <functional>
#include <optional>

#include "engine/dataset/dataset.h"

namespace kashidashi {

class DataSetWalk {
  public:
    explicit DataSetWalk(engine::TDataSet& dataSet);
    ~DataSetWalk();
    DataSetWalk(const DataSetWalk&) = delete;
    DataSetWalk& operator=(const DataSetWalk&) = delete;

    // Stands on the row with that id; false, the row unchanged, when it is gone.
    bool GoTo(engine::storage::RowId id);

    // True while some walk over the data set is under way.
    static bool Walking(const engine::TDataSet& dataSet);

  private:
    engine::TDataSet& dataSet_;
    std::optional<engine::TDataSet::Bookmark> start_;
    std::function<void(engine::TDataSet&)> afterScroll_;
};

// A bookmark of the row with that id. Bookmarks are found again by the row's
// id: the data set re-reads the row as it is stored now.
engine::TDataSet::Bookmark BookmarkOf(engine::storage::RowId id);

}  // namespace kashidashi
