// A desk in client/server mode whose connection the server ended (a server
// restarted at lunchtime): the next user entry says so, the desk window
// closes without more, and opening it again lends on a new connection. Runs with the
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
    void EndDeskConnections() {
        ASSERT_EQ(engine::testing::AdminSql(
                      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                      Server()->name() + "' AND pid <> pg_backend_pid()"),
                  "");
    }
};

TEST_F(LostServerTest, TheDeskOpensAgainOnANewConnectionAfterTheServerEndedIt) {
    const std::string lost =
        "The connection to the database server at '" + Server()->address().host + "' has been lost";
    OpenDesk([&](TFgyoumu1& desk) {
        EndDeskConnections();
        dialogs->Answer(Kind::Error, Dialogs::Ok);
        Scan(desk, "Edit3", "10101");
    });
    // Said as it is, not as another desk lending, and said once.
    ASSERT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
    EXPECT_NE(dialogs->Texts()[0].toStdString().find(lost), std::string::npos)
        << dialogs->Describe();

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

}  // namespace
}  // namespace desk_test
