// SetPath in client/server mode against a real server (the test server of
// engine/pg_test_server.h): the data database connects, Edit1 says so and
// the shared settings come from the server; a wrong password leads through
// the settings window.
#include <QRadioButton>

#include "data/pin_constants.h"
#include "data/schema.h"
#include "engine/dataset/query.h"
#include "engine/pg_test_server.h"
#include "engine/session/database.h"
#include "support/app_fixture.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

const QString kClientServerNote = QStringLiteral("クライアント／サーバの環境で実行しています。");

// Runs a script on a server database, as kashidashi-admin init would.
void RunOnServer(const engine::storage::ServerAddress& server, const std::string& text) {
    engine::TDBSession session("SETPATH_SERVER_SETUP");
    engine::TDBDatabase database("SETUP", session);
    engine::PointAtServer(session, database, server);
    engine::TDBQuery query;
    query.SetSessionName(session.SessionName());
    query.SetDatabaseName("SETUP");
    query.SQL().SetText(text);
    query.ExecSQL();
}

class SetPathServerTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        KX_NEED_SERVER();
        scratch = std::make_unique<engine::testing::ScratchDatabase>();
        RunOnServer(scratch->address(), kashidashi::DataTablesScript());
        RunOnServer(scratch->address(), "INSERT INTO Reg (ID, N1) VALUES (10, 5)");
    }
    Values ServerHead(const std::string& password) {
        const auto& s = scratch->address();
        return {{"meisyou", engine::Value("若葉小学校")},   {"PM4", engine::Value(1)},
                {"HostName", engine::Value(s.host)},        {"UserName", engine::Value(s.user)},
                {"UserPW", engine::Value(password)},        {"portNo", engine::Value(s.port)},
                {"DataBaseName", engine::Value(s.database)}};
    }
    std::unique_ptr<engine::testing::ScratchDatabase> scratch;
};

TEST_F(SetPathServerTest, ServerModeConnectsAndSaysSo) {
    PrepareHead(ServerHead(scratch->address().password));
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(TextOf(Main(), "Edit1"), kClientServerNote);
    EXPECT_TRUE(kashidashi::TDM::Instance().DBDatabase1.Connected());
    EXPECT_EQ(kashidashi::TDM::Instance().DBSession1.GetSessionType(),
              engine::SessionType::stRemote);
    EXPECT_EQ(Settings().UserNumberMode, 5);  // Reg row 10 on the server
}

TEST_F(SetPathServerTest, AWrongPasswordLeadsThroughTheSettingsWindow) {
    PrepareHead(ServerHead("wrong"));
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    dialogs->Drive("kashidashi::THead1", [&](QDialog& w) {
        SetText(w, "DBEdit2", QString::fromStdString(scratch->address().password));
        w.close();
    });
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(TextOf(Main(), "Edit1"), kClientServerNote);
    EXPECT_EQ(HeadRow().at("UserPW"), engine::Value(scratch->address().password));
    EXPECT_EQ(Settings().UserNumberMode, 5);
}

}  // namespace
}  // namespace app_test
