// A desk in client/server mode whose connection the server ended (a server
// restarted at lunchtime): the next user entry says so, the entry after it
// finds the user on a new connection, and a desk window opened again lends. Runs with the
// demo school on the test server only (KX_ENGINE_BACKEND=server).
#include "desk_fixture.h"
#include "engine/pg_test_server.h"

namespace desk_test {
namespace {

using Kind = Dialogs::Kind;

class LostServerTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (Stopped()) return;
        if (!Server()) GTEST_SKIP() << "a server's connection only (KX_ENGINE_BACKEND=server)";
        MakePlainBooks();
    }
    void EndDeskConnections() { ASSERT_EQ(Server()->EndConnections(), ""); }
};

TEST_F(LostServerTest, TheDeskGoesOnOnANewConnectionAfterTheServerEndedIt) {
    // Said in plain Japanese, with the engine's code and the server's address.
    const std::string lost = "データベースサーバとの接続が切れました";
    const std::string code = "（エラー番号 11276: " + Server()->address().host + "）";
    OpenDesk([&](TFgyoumu1& desk) {
        EndDeskConnections();
        dialogs->Answer(Kind::Error, Dialogs::Ok);
        Scan(desk, "Edit3", "10101");
        // Said as it is, not as another desk lending, and said once: the
        // next entry finds the user on a new connection.
        ASSERT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
        EXPECT_NE(dialogs->Texts()[0].toStdString().find(lost), std::string::npos)
            << dialogs->Describe();
        EXPECT_NE(dialogs->Texts()[0].toStdString().find(code), std::string::npos)
            << dialogs->Describe();
        Scan(desk, "Edit3", "10101");
        EXPECT_EQ(desk.Desk().state.CurrentUserId, FixedNumber("10101"));
    });

    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "1");
        dialogs->Drive("kashidashi::Tkakunin", [](QDialog&) {});
        Scan(desk, "Edit4", "ACTION");
    });
    EXPECT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(RowCount("Select * From kashibo Where kashidashiF='1' And BOOK_ID=1"), 1);
}

// A desk that has served users holds no table between entries either: the
// entry that meets the ended connection must not leave a table counted as
// in use, or the lost connection would never be replaced.
TEST_F(LostServerTest, ADeskThatServedAUserComesBackAfterTheServerEndedItsConnection) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "1");
        dialogs->Drive("kashidashi::Tkakunin", [](QDialog&) {});
        Scan(desk, "Edit4", "ACTION");
        ASSERT_EQ(RowCount("Select * From kashibo Where kashidashiF='1' And BOOK_ID=1"), 1);
        EndDeskConnections();
        dialogs->Answer(Kind::Error, Dialogs::Ok);
        Scan(desk, "Edit3", "10102");
        ASSERT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
        EXPECT_NE(dialogs->Texts()[0].toStdString().find("データベースサーバとの接続が切れました"),
                  std::string::npos)
            << dialogs->Describe();
        for (const char* user : {"10102", "10103"}) {
            Scan(desk, "Edit3", user);
            EXPECT_EQ(desk.Desk().state.CurrentUserId, FixedNumber(user));
        }
    });
    EXPECT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
