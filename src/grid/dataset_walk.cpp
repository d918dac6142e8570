#include "grid/dataset_walk.h"

#include <algorithm>
#include <vector>

namespace kashidashi {
namespace {

// The data sets being walked, innermost last; a data set may appear twice
// when one walk runs inside another's notice.
std::vector<const engine::TDataSet*>& Walked() {
    static std::vector<const engine::TDataSet*> walked;
    return walked;
}

}  // namespace

engine::TDataSet::Bookmark BookmarkOf(engine::storage::RowId id) {
    return engine::TDataSet::Bookmark{id, {}};
}

DataSetWalk::DataSetWalk(engine::TDataSet& dataSet)
    : dataSet_(dataSet), start_(dataSet.GetBookmark()) {
    Walked().push_back(&dataSet_);
    afterScroll_ = std::move(dataSet_.AfterScroll);
    dataSet_.AfterScroll = nullptr;
    dataSet_.DisableControls();
}

DataSetWalk::~DataSetWalk() {
    try {
        if (start_ && dataSet_.Active()) dataSet_.GotoBookmark(*start_);
    } catch (...) {
        // The row that was current is gone or unreadable; the walk leaves
        // the data set where it stands, and the grid re-reads on its next notice.
    }
    dataSet_.EnableControls();
    dataSet_.AfterScroll = std::move(afterScroll_);
    auto& walked = Walked();
    walked.erase(std::find(walked.rbegin(), walked.rend(), &dataSet_).base() - 1);
}

bool DataSetWalk::GoTo(engine::storage::RowId id) {
    return dataSet_.GotoBookmark(BookmarkOf(id));
}

bool DataSetWalk::Walking(const engine::TDataSet& dataSet) {
    const auto& walked = Walked();
    return std::find(walked.begin(), walked.end(), &dataSet) != walked.end();
}

}  // namespace kashidashi
