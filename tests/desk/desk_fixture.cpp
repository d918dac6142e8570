#include "desk_fixture.h"

#include <QApplication>

#include "data/pin_constants.h"
#include "engine/dataset/query.h"
#include "engine/session/session.h"

namespace desk_test {

void DeskFixture::SetUp() {
    AppFixture::SetUp();
    dataFolder = DriveFolder("C:\\Book\\");
    MakeDemoFolder(dataFolder);
    PrepareHead({{"meisyou", engine::Value("若葉小学校")},
                 {"PM1", engine::Value(14)},
                 {"kashisuu", engine::Value(3)}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
}

void DeskFixture::OpenDesk(const std::function<void(TFgyoumu1&)>& body) {
    dialogs->Drive("kashidashi::TFgyoumu1", [&](QDialog& window) {
        window.activateWindow();
        Settle();
        body(static_cast<TFgyoumu1&>(window));
    });
    Main().Button2Click();
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
    engine::TDBSession session("KxDeskTestCount");
    engine::TDBQuery query;
    query.SetSessionName("KxDeskTestCount");
    query.SetDatabaseName(dataFolder);
    query.SQL().Add(select);
    query.Open();
    int64_t count = query.RecordCount();
    query.Close();
    return count;
}

engine::Value DeskFixture::DataValue(const std::string& select) {
    engine::TDBSession session("KxDeskTestRead");
    engine::TDBQuery query;
    query.SetSessionName("KxDeskTestRead");
    query.SetDatabaseName(dataFolder);
    query.SQL().Add(select);
    query.Open();
    engine::Value value = query.Fields(0).GetValue();
    query.Close();
    return value;
}

}  // namespace desk_test
