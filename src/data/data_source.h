// A data source: the link between one data set and the controls that show
// it (grids, data-aware edits). Controls name the source, not the data set,
// so a window can point a grid at another data set by replacing the source's
// data set; every linked control hears of the replacement.
//
// The source owns nothing: the data set belongs to the data module or the
// window, the links to their controls. A control unlinks itself before it is
// destroyed.
#pragma once

#include <algorithm>
#include <vector>

namespace engine {
class TDataSet;
}

namespace kashidashi {

class TDataSource {
  public:
    // What a linked control hears.
    class Link {
      public:
        virtual ~Link() = default;
        virtual void DataSetReplaced(engine::TDataSet* dataSet) = 0;
    };

    explicit TDataSource(engine::TDataSet* dataSet = nullptr) : dataSet_(dataSet) {}
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    engine::TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(engine::TDataSet* dataSet) {
        if (dataSet == dataSet_) return;
        dataSet_ = dataSet;
        for (Link* link : std::vector<Link*>(links_)) link->DataSetReplaced(dataSet_);
    }
    // Typing into a linked control puts the data set into edit state.
    bool AutoEdit = true;

    void AddLink(Link* link) { links_.push_back(link); }
    void RemoveLink(Link* link) { links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end()); }

  private:
    engine::TDataSet* dataSet_;
    std::vector<Link*> links_;
};

}  // namespace kashidashi
