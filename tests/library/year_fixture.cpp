#include "library/year_fixture.h"

namespace library_test {

void YearFixture::SetUp() {
    AppFixture::SetUp();
    data = DriveFolder("C:\\Book\\");
    MakeSchool();
}

void YearFixture::TearDown() {
    connection.reset();
    AppFixture::TearDown();
}

// Users: 100001 (10101) and 100002 (10102) in 1年1組, 100003 (10201) in
// 1年2組, 900001 (90001) on the staff, 100004 (10202) in 1年2組 without
// loans. Loans (due dates): book 1 to 100002 due 06/10, book 2 to 100001
// due 06/09, book 3 to 100001 returned, book 4 to 100003 due 06/11, book 5
// to 900001 due 06/01, book 6 to 100009 (no longer in Name, pupil 10999)
// due 06/05.
void YearFixture::MakeSchool() {
    MakeDataFolder(data);
    RunSql(data,
           "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
           "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (102, '1年2組');"
           "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (900, '職員');"
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('100001', '10101', '青木　一郎', 1, 101);"
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('100002', '10102', '井上　花子', 1, 101);"
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('100003', '10201', '上田　健', 1, 102);"
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('100004', '10202', '江藤　空', 0, 102);"
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('900001', '90001', '大野　先生', 1, 900)");
    for (int book = 1; book <= 6; ++book)
        RunSql(data, "Insert Into Book (BOOK_ID, syomei2, kashidashiF) Values (" +
                         std::to_string(book) + ", '本" + std::to_string(book) + "', " +
                         (book == 3 ? "False" : "True") + ")");
    auto loan = [&](int book, const char* user, const char* pupil, const char* due, bool open) {
        RunSql(data, std::string("Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi,"
                                 " henkyakuyotei, kashidashiF, henkyakubi) Values (") +
                         std::to_string(book) + ", '" + user + "', '" + pupil +
                         "', '2025/05/20', '" + due + "', " +
                         (open ? "'1', NULL" : "NULL, '2025/05/30'") + ")");
    };
    loan(1, "100002", "10102", "2025/06/10", true);
    loan(2, "100001", "10101", "2025/06/09", true);
    loan(3, "100001", "10101", "2025/06/03", false);
    loan(4, "100003", "10201", "2025/06/11", true);
    loan(5, "900001", "90001", "2025/06/01", true);
    loan(6, "100009", "10999", "2025/06/05", true);
    connection = std::make_unique<kashidashi::library::PlaceConnection>(
        kashidashi::library::DataPlace::Folder(data));
}

engine::storage::Connection& YearFixture::Connection() {
    return **connection;
}

}  // namespace library_test
