// Persistent, calculated and lookup fields, display formats and the events
// of a data set.
#include "engine/common/error.h"
#include "engine_fixture.h"

namespace engine::testing {
namespace {

class FieldsTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeTable("Book",
                  {{"BOOK_ID", Int()}, {"HKN_ID", Int()}, {"kakaku", {FieldType::Currency, 0}}},
                  {"BOOK_ID"});
        MakeTable("HKN", {{"HKN_ID", Int()}, {"HKN", Text(24)}}, {"HKN_ID"});
        auto place = Table("HKN");
        place->Open();
        place->Append();
        place->FieldByName("HKN_ID").SetAsInteger(3);
        place->FieldByName("HKN").SetAsString("書庫");
        place->Post();
        auto book = Table("Book");
        book->Open();
        book->Append();
        book->FieldByName("BOOK_ID").SetAsInteger(123);
        book->FieldByName("HKN_ID").SetAsInteger(3);
        book->FieldByName("kakaku").SetAsFloat(1200.4);
        book->Post();
    }
};

TEST_F(FieldsTest, PersistentCalculatedAndLookupFields) {
    auto places = Table("HKN");
    auto book = Table("Book");
    auto& id = book->AddField<TIntegerField>("BOOK_ID");
    id.DisplayFormat = "000000#";
    id.SetDisplayLabel("図書番号");
    book->AddField<TIntegerField>("HKN_ID");
    book->AddField<TCurrencyField>("kakaku").DisplayFormat = "#";
    auto& twice = book->AddField<TIntegerField>("twice");
    twice.fieldKind = FieldKind::fkCalculated;
    auto& place = book->AddField<TStringField>("place", 24);
    place.fieldKind = FieldKind::fkLookup;
    place.KeyFields = "HKN_ID";
    place.LookupDataSet = places.get();
    place.LookupKeyFields = "HKN_ID";
    place.LookupResultField = "HKN";
    int calculated = 0;
    book->OnCalcFields = [&](TDataSet& ds) {
        ++calculated;
        ds.FieldByName("twice").SetAsInteger(ds.FieldByName("BOOK_ID").AsInteger() * 2);
    };
    book->Open();
    EXPECT_EQ(id.DisplayText(), "0000123");
    EXPECT_EQ(id.DisplayLabel(), "図書番号");
    EXPECT_EQ(book->FieldByName("kakaku").DisplayText(), "1200");
    EXPECT_EQ(twice.AsInteger(), 246);
    EXPECT_GE(calculated, 1);
    EXPECT_EQ(place.AsString(), "");  // the lookup data set is closed
    places->Open();
    EXPECT_EQ(place.AsString(), "書庫");
    EXPECT_EQ(book->FieldCount(), 5);
}

TEST_F(FieldsTest, FieldsWithoutDeclarationsFollowTheColumnsWithTheirSizes) {
    auto places = Table("hkn");
    places->Open();
    ASSERT_EQ(places->FieldCount(), 2);
    EXPECT_EQ(places->Fields(1).FieldName(), "HKN");
    EXPECT_EQ(places->Fields(1).Size(), 24);
    EXPECT_EQ(places->FieldByName("hkn_id").AsInteger(), 3);
    places->Close();
    EXPECT_EQ(places->FieldCount(), 0);
}

TEST_F(FieldsTest, BeforeInsertCanRefuseSilentlyAndObserversCanBeSuspended) {
    struct Counter : DataSetObserver {
        int changes = 0;
        void DataSetChanged(TDataSet&, engine::DataSetChange) override { ++changes; }
    } counter;
    auto book = Table("Book");
    book->BeforeInsert = [](TDataSet&) { return false; };
    book->AddObserver(&counter);
    book->Open();
    book->Append();
    EXPECT_EQ(book->State(), DataSetState::dsBrowse);
    int seen = counter.changes;
    book->DisableControls();
    book->First();
    book->Refresh();
    EXPECT_EQ(counter.changes, seen);
    book->EnableControls();
    EXPECT_EQ(counter.changes, seen + 1);
    book->RemoveObserver(&counter);
}

TEST_F(FieldsTest, EditingAnEmptyDataSetIsAnEngineError) {
    Table("HKN")->EmptyTable();
    auto places = Table("HKN");
    places->Open();
    EXPECT_TRUE(places->Eof());
    try {
        places->Edit();
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kNoCurrentRecord);
    }
    EXPECT_EQ(places->FieldByName("HKN").AsString(), "");
}

}  // namespace
}  // namespace engine::testing
