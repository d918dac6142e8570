// One transaction guard for a database and for its backend connection:
// left without Commit (by a throw too) it rolls back, after Commit the
// writes stay.
#include "engine/session/transaction_guard.h"

#include <stdexcept>

#include "engine_fixture.h"

namespace engine::testing {
namespace {

class TransactionGuardTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeTable("Book", {{"BOOK_ID", Int()}, {"syomei2", Text(10)}}, {"BOOK_ID"});
    }

    void AddBook(int id) {
        auto book = Table("Book");
        book->Open();
        book->Append();
        book->FieldByName("BOOK_ID").SetAsInteger(id);
        book->FieldByName("syomei2").SetAsString("本");
        book->Post();
    }

    int Books() {
        auto book = Table("Book");
        book->Open();
        return book->RecordCount();
    }

    // The same round for either kind of store.
    template <class Store>
    void Round(Store& store, int id) {
        const int before = Books();
        EXPECT_THROW(
            {
                TransactionGuard transaction(store);
                AddBook(id);
                EXPECT_TRUE(database->InTransaction());
                throw std::runtime_error("a failure between the writes");
            },
            std::runtime_error);
        EXPECT_FALSE(database->InTransaction());
        EXPECT_EQ(Books(), before);
        {
            TransactionGuard transaction(store);
            AddBook(id);
        }
        EXPECT_EQ(Books(), before);
        {
            TransactionGuard transaction(store);
            AddBook(id);
            transaction.Commit();
        }
        EXPECT_FALSE(database->InTransaction());
        EXPECT_EQ(Books(), before + 1);
    }
};

TEST_F(TransactionGuardTest, RollsBackUnlessCommittedOnADatabaseAndOnAConnection) {
    Round(*database, 1);
    Round(database->Connection(), 2);
}

}  // namespace
}  // namespace engine::testing
