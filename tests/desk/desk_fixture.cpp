#include "desk_fixture.h"

#include <QApplication>
#include <cstdlib>

#include "data/pin_constants.h"
#include "engine/dataset/query.h"
#include "engine/session/session.h"

namespace desk_test {

void DeskFixture::SetUp() {
    AppFixture::SetUp();
    Values head = {{"meisyou", engine::Value("若葉小学校")},
                   {"PM1", engine::Value(14)},
                   {"kashisuu", engine::Value(3)}};
    if (engine::testing::DataOnServer()) {
        KX_NEED_SERVER();
        head.merge(UseServer());
    } else {
        dataFolder = DriveFolder("C:\\Book\\");
    }
    MakeDemoFolder(dataFolder);
    PrepareHead(head);
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    ASSERT_EQ(
        kashidashi::TDM::Instance().DBSession1.GetSessionType() == engine::SessionType::stRemote,
        server_ != nullptr)
        << "the desk is not on the data it was given";
}

Values DeskFixture::UseServer() {
    server_ = std::make_unique<engine::testing::ScratchDatabase>();
    const auto& s = server_->address();
    setenv("KASHIDASHI_PASSWORD", s.password.c_str(), 1);
    dataFolder = server_->Location();
    return {{"PM4", engine::Value(1)},           {"HostName", engine::Value(s.host)},
            {"UserName", engine::Value(s.user)}, {"UserPW", engine::Value(s.password)},
            {"portNo", engine::Value(s.port)},   {"DataBaseName", engine::Value(s.database)}};
}

void DeskFixture::TearDown() {
    AppFixture::TearDown();  // the desk's connections end with its windows
    unsetenv("KASHIDASHI_PASSWORD");
}

void DeskFixture::OpenDesk(const std::function<void(TFgyoumu1&)>& body) {
    dialogs->Drive("kashidashi::TFgyoumu1", [&](QDialog& window) {
        window.activateWindow();
        Settle();
        body(static_cast<TFgyoumu1&>(window));
    });
    Main().Button2Click();
}

void DeskFixture::Register(const std::function<void(QDialog&)>& drive,
                           const std::function<void(TFgyoumu1&)>& after) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes)
            .Drive("kashidashi::TFBook2", [&](QDialog& w) {
                w.activateWindow();
                Settle();
                drive(w);
            });
        Scan(desk, "Edit4", "99999");
        if (after) after(desk);
    });
}

void DeskFixture::Scan(TFgyoumu1& desk, const char* edit, const QString& text) {
    auto* field = desk.findChild<QLineEdit*>(edit);
    ASSERT_NE(field, nullptr) << edit;
    field->setFocus();
    Settle();
    field->setText(text);
    PressEnter(desk, edit);
}

QString DeskFixture::Text(TFgyoumu1& desk, const char* edit) {
    return TextOf(desk, edit);
}

void DeskFixture::MakePlainBooks() {
    RunSql(dataFolder,
           "Update Book Set kintaiF=False, haikiF=False, kashidashiF=False, yoyakuF=False, "
           "tourokubi='2020/04/01' Where BOOK_ID<=20");
}

int64_t DeskFixture::RowCount(const std::string& select) {
    DataQuery query("KxDeskTestCount", dataFolder);
    query->SQL().Add(select);
    query->Open();
    int64_t count = query->RecordCount();
    query->Close();
    return count;
}

std::string DeskFixture::FixedNumber(const std::string& pupil) {
    return DataValue("Select NAME_ID From Name Where seito_No='" + pupil + "'").Text();
}

engine::Value DeskFixture::DataValue(const std::string& select) {
    DataQuery query("KxDeskTestRead", dataFolder);
    query->SQL().Add(select);
    query->Open();
    engine::Value value = query->Fields(0).GetValue();
    query->Close();
    return value;
}

}  // namespace desk_test
