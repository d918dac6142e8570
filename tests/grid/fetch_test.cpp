// Lazy reading: a grid over 10,000 rows reads a batch, reads on as the view
// scrolls or the data set jumps ahead, and two grids over one data set do
// not set each other re-reading.
#include "grid/dataset_model.h"
#include "grid/grid_fixture.h"

namespace grid_test {
namespace {

// Counts the notices a data set sends, as another control would hear them.
struct NoticeCounter : engine::DataSetObserver {
    int scrolled = 0;
    int rows = 0;
    void DataSetChanged(engine::TDataSet&, engine::DataSetChange change) override {
        if (change == engine::DataSetChange::Scrolled) ++scrolled;
        if (change == engine::DataSetChange::Rows) ++rows;
    }
};

class LargeTable : public GridFixture {
  protected:
    void SetUp() override {
        GridFixture::SetUp();
        MakeItems(kRows);
        table = Table("Item");
        table->Open();
        grid->AddColumn("ID");
        grid->AddColumn("Title");
    }
    auto* Model() { return static_cast<kashidashi::DataSetModel*>(grid->model()); }
    static constexpr int kRows = 10'000;
    engine::TDBTable* table = nullptr;
};

TEST_F(LargeTable, OpeningReadsOneBatch) {
    Show(*table);
    EXPECT_EQ(grid->model()->rowCount(), kashidashi::DataSetModel::kBatchRows);
    EXPECT_EQ(Model()->RowsRead(), kashidashi::DataSetModel::kBatchRows);
    EXPECT_FALSE(Model()->AllRead());
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);  // the reading went back
}

TEST_F(LargeTable, ScrollingReadsOnToTheEnd) {
    Show(*table);
    for (int i = 0; i < 200 && !Model()->AllRead(); ++i) {
        grid->scrollToBottom();
        Settle();
    }
    EXPECT_TRUE(Model()->AllRead());
    EXPECT_EQ(grid->model()->rowCount(), kRows);
    EXPECT_EQ(Model()->RowsRead(), kRows);
    EXPECT_EQ(Cell(kRows - 1, 1), "本 10000");
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);
}

TEST_F(LargeTable, KeyJumpReadsUpToTheRecord) {
    Show(*table);
    ASSERT_TRUE(table->FindKey({engine::Value(1234)}));
    EXPECT_EQ(Row(), 1233);
    EXPECT_LT(grid->model()->rowCount(), 2 * 1234);  // batches grow with the rows read
    EXPECT_EQ(Cell(1233, 1), "本 1234");
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1234);
}

TEST_F(LargeTable, ReadingIsInvisibleToTheWindow) {
    NoticeCounter counter;
    table->AddObserver(&counter);
    int afterScroll = 0;
    table->AfterScroll = [&](engine::TDataSet&) { ++afterScroll; };
    Show(*table);
    grid->scrollToBottom();
    Settle();
    EXPECT_EQ(counter.scrolled, 0);
    EXPECT_EQ(afterScroll, 0);
    table->RemoveObserver(&counter);
}

TEST_F(LargeTable, TwoGridsOverOneDataSetFollowTheSameRecord) {
    kashidashi::TLibXGrid second(window.get());
    second.AddColumn("Title");
    Show(*table);
    second.SetDataSource(&source);
    table->FindKey({engine::Value(500)});
    EXPECT_EQ(Row(), 499);
    EXPECT_EQ(second.currentIndex().row(), 499);
    EXPECT_LT(Model()->RowsRead(), 1000);
    second.SetDataSource(nullptr);
}

TEST_F(GridFixture, ReplacingTheSourcesDataSetShowsTheOther) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    auto query = Query("SELECT ID FROM Item WHERE ID > 1", false);
    query->Open();
    Show(*table);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    source.SetDataSet(query);
    EXPECT_EQ(grid->DataSet(), query);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "2");
}

TEST_F(GridFixture, EmptyTableShowsNoRowsAndOffersNoDelete) {
    MakeItems(0);
    auto table = Table("Item");
    table->Open();
    Show(*table);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(grid->CanDelete());
    EXPECT_TRUE(grid->CanAppend());
}

}  // namespace
}  // namespace grid_test
