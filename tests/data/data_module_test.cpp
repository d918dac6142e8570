// The data module: its sessions and databases, the table and query objects
// with their fields, the computed book fields, and the report rows of head.
#include "data/U_DM.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "data/U_MakeTable.h"
#include "data/schema.h"
#include "data_fixture.h"
#include "engine/common/dates.h"
#include "platform/paths.h"

namespace data_test {
namespace {

using engine::FieldType;
using engine::MakeDate;
using engine::Value;
using kashidashi::TDM;

class DataModuleTest : public DataFixture {
  protected:
    void SetUp() override {
        DataFixture::SetUp();
        if (const char* old = getenv("KASHIDASHI_DRIVE_ROOT")) oldRoot_ = old;
        setenv("KASHIDASHI_DRIVE_ROOT", (folder / "drives").c_str(), 1);
        dm = &TDM::Create();
    }
    void TearDown() override {
        TDM::Destroy();
        oldRoot_ ? setenv("KASHIDASHI_DRIVE_ROOT", oldRoot_->c_str(), 1)
                 : unsetenv("KASHIDASHI_DRIVE_ROOT");
        DataFixture::TearDown();
    }
    // A data folder with every data table, and a program folder with the
    // settings tables, as start-up leaves them.
    void MakeDatabases() {
        std::filesystem::create_directories(folder / "data");
        std::filesystem::create_directories(folder / "prog");
        dm->DBDatabase1.SetDirectory((folder / "data").string());
        dm->DBDatabase2.SetDirectory((folder / "prog").string());
        dm->AQry.SQL().SetText(kashidashi::DataTablesScript());
        dm->AQry.ExecSQL();
        kashidashi::TMakeTable().MakeSettingsTables();
    }
    void AddBook(int id, const Value& isbn, const Value& kintai, const Value& haiki) {
        dm->BOOK.Open();
        dm->BOOK.Append();
        dm->BOOK.FieldByName("BOOK_ID").SetAsInteger(id);
        dm->BOOK.FieldByName("ISBN").SetValue(isbn);
        dm->BOOK.FieldByName("kintaiF").SetValue(kintai);
        dm->BOOK.FieldByName("haikiF").SetValue(haiki);
        dm->BOOK.Post();
        dm->BOOK.Close();
    }
    std::vector<std::string> Lines(engine::TDBQuery& query) {
        std::vector<std::string> lines;
        for (int i = 0; i < query.SQL().Count(); ++i) lines.push_back(query.SQL()[i]);
        return lines;
    }
    std::vector<std::string> ParamNames(engine::TDBQuery& query) {
        std::vector<std::string> names;
        for (int i = 0; i < query.Params().Count(); ++i)
            names.push_back(query.Params().Items(i).Name());
        return names;
    }

    TDM* dm = nullptr;

  private:
    std::optional<std::string> oldRoot_;
};

TEST_F(DataModuleTest, CreationMakesThePrivateFolderOfTheDataSession) {
    EXPECT_TRUE(std::filesystem::is_directory(folder / "drives" / "drive_c" / "$$" / "pkv"));
    EXPECT_EQ(dm->DBSession1.PrivateDir(), "C:\\$$\\pkv\\");
    EXPECT_EQ(&TDM::Instance(), dm);
    EXPECT_EQ(&TDM::Create(), dm);
}

TEST_F(DataModuleTest, SessionsAndDatabasesAsDesigned) {
    EXPECT_EQ(dm->DBSession1.SessionName(), "BBB");
    EXPECT_EQ(dm->DBSession2.SessionName(), "WBBB");
    for (engine::TDBSession* session : {&dm->DBSession1, &dm->DBSession2}) {
        EXPECT_EQ(session->lockProtocol, engine::LockProtocol::lpPessimistic);
        EXPECT_EQ(session->LockRetryCount, 15);
        EXPECT_EQ(session->LockWaitTime, 100);
        EXPECT_EQ(session->GetSessionType(), engine::SessionType::stLocal);
    }
    const auto& remote = dm->DBSession1.RemoteSettings();
    EXPECT_EQ(remote.address, "127.0.0.1");
    EXPECT_EQ(remote.port, 12005);
    EXPECT_EQ(remote.user, "Admin");
    EXPECT_EQ(remote.password, "PqRelay");
    EXPECT_EQ(remote.type, engine::RemoteType::rtLAN);
    EXPECT_FALSE(remote.trace);
    EXPECT_EQ(dm->DBDatabase1.DatabaseName(), "AAA");
    EXPECT_EQ(dm->DBDatabase1.Directory(), "C:\\Book");
    EXPECT_EQ(dm->DBDatabase2.DatabaseName(), "WWW");
}

TEST_F(DataModuleTest, TableObjectsNameTheirTablesAndDatabases) {
    const struct {
        engine::TDBTable* table;
        const char* session;
        const char* database;
        const char* name;
    } kCases[] = {{&dm->Head, "WBBB", "WWW", "head"},   {&dm->RegistTB, "WBBB", "WWW", "Regist"},
                  {&dm->RegTB, "BBB", "AAA", "Reg"},    {&dm->NDC, "BBB", "AAA", "NDC"},
                  {&dm->HKN, "BBB", "AAA", "HKN"},      {&dm->NAME, "BBB", "AAA", "name"},
                  {&dm->BOOK, "BBB", "AAA", "BOOK"},    {&dm->KASHIBO, "BBB", "AAA", "kashibo"},
                  {&dm->YOYAKU, "BBB", "AAA", "yoyaku"}};
    for (const auto& c : kCases) {
        EXPECT_EQ(c.table->SessionName(), c.session) << c.name;
        EXPECT_EQ(c.table->DatabaseName(), c.database) << c.name;
        EXPECT_EQ(c.table->TableName(), c.name);
    }
    EXPECT_EQ(dm->RegTB.IndexFieldNames(), "ID");
}

TEST_F(DataModuleTest, ReservationQueriesKeepTheirStatementLines) {
    EXPECT_EQ(
        Lines(dm->YoyakuFindQry),
        (std::vector<std::string>{"Select yoyakuDTime, Book_ID,Name_ID From yoyaku",
                                  " where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)",
                                  " Order By YoyakuDTime"}));
    EXPECT_EQ(ParamNames(dm->YoyakuFindQry), (std::vector<std::string>{"PM1", "PM2"}));
    EXPECT_EQ(Lines(dm->YoyakuDELQry),
              (std::vector<std::string>{"Delete From yoyaku",
                                        " Where (Book_ID=:PM1 or (ISBN_ID is Not Null and "
                                        "ISBN_ID=:PM2)) and Name_ID=:PM3"}));
    EXPECT_EQ(ParamNames(dm->YoyakuDELQry), (std::vector<std::string>{"PM1", "PM2", "PM3"}));
    for (engine::TDBQuery* query : {&dm->YoyakuFindQry, &dm->YoyakuDELQry, &dm->AQry, &dm->Aqry2}) {
        EXPECT_EQ(query->DatabaseName(), "AAA");
    }
}

TEST_F(DataModuleTest, EveryTableObjectOpensOnTheSchema) {
    MakeDatabases();
    for (engine::TDBTable* table : {&dm->Head, &dm->RegistTB, &dm->RegTB, &dm->NDC, &dm->HKN,
                                    &dm->NAME, &dm->BOOK, &dm->KASHIBO, &dm->YOYAKU}) {
        EXPECT_NO_THROW(table->Open()) << table->TableName();
        table->Close();
    }
}

TEST_F(DataModuleTest, BookFieldsInOrderWithLabelsAndFormats) {
    std::vector<std::string> names;
    for (int i = 0; i < dm->BOOK.FieldCount(); ++i) names.push_back(dm->BOOK.Fields(i).FieldName());
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "BOOK_ID",   "tourokubi", "syomei1",    "syomei2",     "syomei3",  "cyosya1",
                  "cyosya2",   "cyosya3",   "cyosya4",    "NDC_ID",      "kenmei1",  "HKN_ID",
                  "ZAIGEN_ID", "UKEIRE_ID", "syuppansya", "syuppannen",  "ookisa",   "pageSuu",
                  "kakaku",    "seikyu",    "biko",       "kashidashiF", "yoyakuF",  "kintaiF",
                  "heikaF",    "tenkenF",   "haikiF",     "key1",        "key2",     "ISBN",
                  "yobi1_ID",  "yobi2_ID",  "yobi3_ID",   "yobi4_ID",    "yobi5_ID", "haiki_date",
                  "ISBN2",     "URL",       "Phaiki",     "Pkintai",     "sakujoF"}));
    const struct {
        const char* field;
        FieldType type;
        int size;
        const char* label;
        const char* format;
        bool calculated;
    } kCases[] = {
        {"BOOK_ID", FieldType::Integer, 0, "図書番号", "000000#", false},
        {"tourokubi", FieldType::Date, 0, "登録日", "yyyy/mm/dd", false},
        {"cyosya4", FieldType::String, 30, "著作者４", "", false},
        {"kenmei1", FieldType::Memo, 0, "内容紹介", "", false},
        {"kakaku", FieldType::Currency, 0, "価格", "#", false},
        {"key1", FieldType::String, 30, "ｼｮﾒｲﾌﾘｶﾞﾅ", "", false},
        {"ISBN", FieldType::String, 13, "ISBN", "", false},
        {"yobi5_ID", FieldType::Integer, 0, "yobi5_ID", "", false},
        {"ISBN2", FieldType::String, 15, "ISBN1(3桁)", "", true},
        {"Phaiki", FieldType::String, 10, "廃棄", "", true},
        {"Pkintai", FieldType::String, 10, "禁帯", "", true},
        {"sakujoF", FieldType::Boolean, 0, "sakujoF", "", false},
    };
    for (const auto& c : kCases) {
        const engine::TField& field = dm->BOOK.FieldByName(c.field);
        EXPECT_EQ(field.DataType(), c.type) << c.field;
        EXPECT_EQ(field.Size(), c.size) << c.field;
        EXPECT_EQ(field.DisplayLabel(), c.label) << c.field;
        EXPECT_EQ(field.DisplayFormat, c.format) << c.field;
        EXPECT_EQ(field.fieldKind == engine::FieldKind::fkCalculated, c.calculated) << c.field;
    }
}

TEST_F(DataModuleTest, OtherTablesFieldsAndLabels) {
    const struct {
        engine::TDBTable* table;
        const char* field;
        FieldType type;
        int size;
        const char* label;
    } kCases[] = {
        {&dm->NDC, "NDC_ID", FieldType::Float, 0, "NDCコード"},
        {&dm->HKN, "HKN", FieldType::String, 24, "保管場所"},
        {&dm->NAME, "mihenkyakuSU", FieldType::Smallint, 0, "未返却数"},
        {&dm->KASHIBO, "kashidashiF", FieldType::String, 1, "貸出"},
        {&dm->KASHIBO, "ISBN_ID", FieldType::String, 13, "ISBN_ID"},
        {&dm->YOYAKU, "Seito_No", FieldType::String, 5, "運用番号"},
        {&dm->YOYAKU, "yoyakuDTime", FieldType::DateTime, 0, "yoyakuDTime"},
        {&dm->YOYAKU, "Memo", FieldType::String, 40, "Memo"},
        {&dm->RegistTB, "S10", FieldType::String, 50, "S10"},
        {&dm->RegistTB, "D10", FieldType::Date, 0, "D10"},
    };
    for (const auto& c : kCases) {
        const engine::TField& field = c.table->FieldByName(c.field);
        EXPECT_EQ(field.DataType(), c.type) << c.field;
        EXPECT_EQ(field.Size(), c.size) << c.field;
        EXPECT_EQ(field.DisplayLabel(), c.label) << c.field;
    }
    EXPECT_EQ(dm->NDC.FieldByName("NDC_ID").DisplayWidth, 3);
    EXPECT_EQ(dm->HKN.FieldByName("HKN_ID").DisplayWidth, 3);
    EXPECT_EQ(dm->NAME.FieldCount(), 5);
    EXPECT_EQ(dm->KASHIBO.FieldCount(), 8);
    EXPECT_EQ(dm->YOYAKU.FieldCount(), 9);
    EXPECT_EQ(dm->RegistTB.FieldCount(), 41);
    EXPECT_EQ(dm->Head.FieldCount(), 0);
    EXPECT_EQ(dm->RegTB.FieldCount(), 0);
}

TEST_F(DataModuleTest, BookCalcFieldsFromTheStoredRow) {
    MakeDatabases();
    const struct {
        int id;
        Value isbn, kintai, haiki;
        const char *isbn2, *pkintai, *phaiki;
    } kCases[] = {
        {1, "978400310101", Value(), Value(), "9784003101018", "", ""},
        {2, "9784003101018", true, false, "", "True", ""},
        {3, "97840031010", false, true, "", "", "True"},
        {4, Value(), true, true, "", "True", "True"},
        {5, "97840031010X", Value(), false, "97840031010X1", "", ""},  // X counts 0
        {6, "978405105030", false, Value(), "9784051050306", "", ""},
        // Six Japanese characters are twelve bytes as stored; none is a digit.
        {7, "あいうえおか", Value(), Value(), "あいうえおか0", "", ""},
    };
    for (const auto& c : kCases) AddBook(c.id, c.isbn, c.kintai, c.haiki);
    dm->BOOK.Open();
    for (const auto& c : kCases) {
        ASSERT_TRUE(dm->BOOK.FindKey({c.id})) << c.id;
        EXPECT_EQ(dm->BOOK.FieldByName("ISBN2").AsString(), c.isbn2) << c.id;
        EXPECT_EQ(dm->BOOK.FieldByName("Pkintai").AsString(), c.pkintai) << c.id;
        EXPECT_EQ(dm->BOOK.FieldByName("Phaiki").AsString(), c.phaiki) << c.id;
    }
    dm->BOOK.Close();
}

TEST_F(DataModuleTest, BookDisplayFormats) {
    MakeDatabases();
    dm->BOOK.Open();
    dm->BOOK.Append();
    dm->BOOK.FieldByName("BOOK_ID").SetAsInteger(123);
    dm->BOOK.FieldByName("kakaku").SetAsFloat(1500);
    dm->BOOK.FieldByName("tourokubi").SetValue(MakeDate(2020, 7, 29));
    dm->BOOK.Post();
    EXPECT_EQ(dm->BOOK.FieldByName("BOOK_ID").DisplayText(), "0000123");
    EXPECT_EQ(dm->BOOK.FieldByName("kakaku").DisplayText(), "1500");
    EXPECT_EQ(dm->BOOK.FieldByName("tourokubi").DisplayText(), "2020/07/29");
    dm->BOOK.Close();
}

TEST_F(DataModuleTest, ReservationQueriesFindTheQueueAndDeleteOnesOwn) {
    MakeDatabases();
    const std::string isbn = "978400310101";
    const struct {
        int book, number;
        const char* name;
        Value isbn;
        int minute;
    } kRows[] = {{10, 1, "000001", isbn, 2},
                 {11, 1, "000002", isbn, 1},
                 {12, 1, "000003", Value(), 3},
                 {10, 2, "000004", Value(), 0}};
    dm->YOYAKU.Open();
    for (const auto& r : kRows) {
        dm->YOYAKU.Append();
        dm->YOYAKU.FieldByName("Book_ID").SetAsInteger(r.book);
        dm->YOYAKU.FieldByName("yoyaku_No").SetAsInteger(r.number);
        dm->YOYAKU.FieldByName("Name_ID").SetAsString(r.name);
        dm->YOYAKU.FieldByName("ISBN_ID").SetValue(r.isbn);
        dm->YOYAKU.FieldByName("yoyakuDTime")
            .SetAsDateTime(engine::MakeDateTime(MakeDate(2024, 5, 1), 9, r.minute));
        dm->YOYAKU.Post();
    }
    dm->YOYAKU.Close();

    auto queue = [&](int book, const std::string& code) {
        dm->YoyakuFindQry.ParamByName("PM1").SetAsInteger(book);
        dm->YoyakuFindQry.ParamByName("PM2").SetAsString(code);
        dm->YoyakuFindQry.Open();
        std::vector<std::string> names;
        for (; !dm->YoyakuFindQry.Eof(); dm->YoyakuFindQry.Next())
            names.push_back(dm->YoyakuFindQry.FieldByName("Name_ID").AsString());
        dm->YoyakuFindQry.Close();
        return names;
    };
    EXPECT_EQ(queue(10, isbn), (std::vector<std::string>{"000004", "000002", "000001"}));
    EXPECT_EQ(queue(12, ""), (std::vector<std::string>{"000003"}));  // no NULL ISBN matches ""

    dm->YoyakuDELQry.ParamByName("PM1").SetAsInteger(11);
    dm->YoyakuDELQry.ParamByName("PM2").SetAsString(isbn);
    dm->YoyakuDELQry.ParamByName("PM3").SetAsString("000001");
    dm->YoyakuDELQry.ExecSQL();
    EXPECT_EQ(dm->YoyakuDELQry.RowsAffected(), 1);
    EXPECT_EQ(queue(10, isbn), (std::vector<std::string>{"000004", "000002"}));
}

TEST_F(DataModuleTest, ReportRowsOfHeadOfferEveryColumnAndLeaveHeadOpen) {
    MakeDatabases();
    EXPECT_EQ(dm->rptHead.UserName(), "rptHead");
    EXPECT_FALSE(dm->rptHead.CloseDataSource);
    dm->rptHead.Open();
    const auto columns = dm->rptHead.ColumnNames();
    ASSERT_EQ(columns.size(), 28u);
    EXPECT_EQ(columns.front(), "meisyou");
    EXPECT_EQ(columns.back(), "PathName4");
    EXPECT_EQ(dm->rptHead.TextOf("meisyou"), "\u3000");
    EXPECT_EQ(dm->rptHead.ValueOf("PM5"), Value(1234));
    EXPECT_EQ(dm->rptHead.TextOf("HostName"), "");
    dm->rptHead.Close();
    EXPECT_TRUE(dm->Head.Active());
    dm->rptHead.CloseDataSource = true;
    dm->rptHead.Close();
    EXPECT_FALSE(dm->Head.Active());
}

}  // namespace
}  // namespace data_test
