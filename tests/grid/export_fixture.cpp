#include "grid/export_fixture.h"

#include <iconv.h>
#include <stdlib.h>

#include <QJsonDocument>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/field_specs.h"
#include "data/schema.h"
#include "platform/spreadsheet.h"

namespace grid_test {
namespace {

constexpr const char* kReservations =
    "Select yoyaku.* , Book.syomei2 , kashibo.* from yoyaku Left Join Book On "
    "yoyaku.Book_ID=Book.Book_ID Left Join kashibo On yoyaku.Book_ID=kashibo.Book_ID and "
    "kashibo.kashidashiF=\"1\" Order By yoyakuDTime";

void DeclareReservationFields(engine::TDataSet& query) {
    using engine::FieldType;
    kashidashi::AddFields(query,
                          {{"Book_ID", FieldType::Integer, 0, "図書番号", "0000000"},
                           {"Name_ID", FieldType::String, 6, "利用者番号"},
                           {"Name", FieldType::String, 20, "予約者"},
                           {"yoyakuDTime", FieldType::DateTime, 0, "予約日時"},
                           {"Memo", FieldType::String, 40, "メモ"},
                           {"syomei2", FieldType::String, 60, "書名"},
                           {"kashidashiF", FieldType::String, 1, "貸出中"},
                           {"henkyakuyotei", FieldType::Date, 0, "返却予定日", "yyyy/mm/dd"}});
    kashidashi::AddCalculatedField(query, "利用者番号", 6, "利用者番号");
    query.OnCalcFields = [](engine::TDataSet& d) {
        d.FieldByName("利用者番号").SetAsString(d.FieldByName("Name_ID").AsString());
    };
}

}  // namespace

void ExportFixture::SetUp() {
    GridFixture::SetUp();
    csvPath = (folder / "TMP$$$.CSV").string();
    grid->CsvFileName = csvPath;
    setenv("KASHIDASHI_OPENER", "/bin/true", 1);
}

void ExportFixture::TearDown() {
    if (auto running = platform::SpreadsheetApplication::Running()) running->Quit();
    unsetenv("KASHIDASHI_OPENER");
    GridFixture::TearDown();
}

engine::TDBQuery& ExportFixture::ReservationList() {
    RunSql(kashidashi::DataTablesScript());
    RunSql(
        "INSERT INTO Book (BOOK_ID, syomei2) VALUES (1234567, 'はらぺこあおむし'); "
        "INSERT INTO Book (BOOK_ID, syomei2) VALUES (42, '  ソフトウェア入門  '); "
        "INSERT INTO Book (BOOK_ID, syomei2) VALUES (7, 'ｸﾞﾘとグラ'); "
        "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF) "
        "VALUES (1234567, 'C00001', '2024/05/10', '1'); "
        "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF) "
        "VALUES (42, 'C00002', '2024/05/01', '0'); "
        "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Name, yoyakuDTime, Memo) VALUES "
        "(1234567, 1, 'A00012', '山田　太郎', '2024/04/20 10:15:00', '「続き」を\"早く\"'); "
        "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Name, yoyakuDTime, Memo) VALUES "
        "(42, 1, 'B00003', 'ｻﾄｳ ﾊﾅｺ', '2024/04/21 09:00:00', '!#$%&()=~|'); "
        "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Name, yoyakuDTime, Memo) VALUES "
        "(7, 1, 'A00013', ' 鈴木 ', '2024/04/22 16:30:00', 'x\"!#$%&()=~|')");
    engine::TDBQuery& query = *Query(kReservations, false);
    DeclareReservationFields(query);
    for (const char* field : {"Book_ID", "syomei2", "kashidashiF", "henkyakuyotei", "利用者番号",
                              "Name", "yoyakuDTime", "Memo"})
        grid->AddColumn(field);
    grid->Columns(0).Visible = false;
    grid->ColumnsChanged();
    query.Open();
    Show(query);
    return query;
}

engine::TDBTable& ExportFixture::ShowItems(int rows) {
    MakeItems(rows);
    engine::TDBTable& table = *Table("Item");
    for (const char* field : {"ID", "Title", "Memo"}) grid->AddColumn(field);
    table.Open();
    Show(table);
    return table;
}

void ExportFixture::OnRecord(engine::TDataSet& dataSet, int id, std::function<void()> hook) {
    dataSet.AfterScroll = [id, hook](engine::TDataSet& d) {
        if (d.FieldByName("ID").AsInteger() == id) hook();
    };
}

std::string ExportFixture::ReadCsv() const {
    std::ifstream in(csvPath, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

QJsonObject ExportFixture::ReadXlsx(const std::string& path) const {
    const std::string command =
        std::string("/usr/bin/python3 ") + KX_TEST_DATA + "/grid/read_xlsx.py '" + path + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out));
    EXPECT_TRUE(document.isObject()) << out;
    return document.object();
}

std::string Sjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2 + 1, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace grid_test
