#include "grid/grid_fixture.h"

#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <atomic>

namespace grid_test {

void GridFixture::SetUp() {
    static std::atomic<int> counter{0};
    const int n = counter++;
    folder = std::filesystem::temp_directory_path() /
             ("kx_grid_" + std::to_string(getpid()) + "_" + std::to_string(n));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    session = std::make_unique<engine::TDBSession>("GTEST" + std::to_string(n));
    database = std::make_unique<engine::TDBDatabase>("DB", *session);
    database->SetDirectory(folder.string());
    dialogs = std::make_unique<kx_test::ScriptedDialogs>();
    window = std::make_unique<QWidget>();
    window->resize(500, 300);
    auto* layout = new QVBoxLayout(window.get());
    grid = new kashidashi::TLibXGrid(window.get());
    other = new QLineEdit(window.get());
    layout->addWidget(grid);
    layout->addWidget(other);
}

void GridFixture::TearDown() {
    grid->SetDataSource(nullptr);
    window.reset();
    dataSets.clear();
    dialogs.reset();
    database.reset();
    session.reset();
    std::filesystem::remove_all(folder);
}

void GridFixture::MakeItems(int rows) {
    RunSql(
        "CREATE TABLE Item (ID INTEGER, Title CHARACTER(20), Price MONEY, Memo MEMO, "
        "Day DATE, PRIMARY KEY (ID))");
    auto table = Table("Item");
    table->Open();
    database->StartTransaction();
    for (int i = 1; i <= rows; ++i) {
        table->Append();
        table->FieldByName("ID").SetAsInteger(i);
        table->FieldByName("Title").SetAsString("本 " + std::to_string(i));
        table->FieldByName("Price").SetAsFloat(i * 10.0);
        table->FieldByName("Day").SetValue(engine::Value(engine::Date{45383 + i}));
        table->Post();
    }
    database->Commit(false);
}

void GridFixture::RunSql(const std::string& text) {
    Query(text, false)->ExecSQL();
}

engine::TDBTable* GridFixture::Table(const std::string& name) {
    auto* table = new engine::TDBTable();
    dataSets.emplace_back(table);
    table->SetSessionName(session->SessionName());
    table->SetDatabaseName("DB");
    table->SetTableName(name);
    return table;
}

engine::TDBQuery* GridFixture::Query(const std::string& text, bool live) {
    auto* query = new engine::TDBQuery();
    dataSets.emplace_back(query);
    query->SetSessionName(session->SessionName());
    query->SetDatabaseName("DB");
    query->SQL().SetText(text);
    query->RequestLive = live;
    return query;
}

int64_t GridFixture::CountItems() {
    auto table = Table("Item");
    table->Open();
    return table->RecordCount();
}

void GridFixture::Show(engine::TDataSet& dataSet) {
    source.SetDataSet(&dataSet);
    grid->SetDataSource(&source);
    window->show();
    QApplication::setActiveWindow(window.get());
    Settle();
    grid->setFocus();
    Settle();
}

void GridFixture::Key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
    Press(*target, key, modifiers);
}

QString GridFixture::Cell(int row, int column) const {
    return grid->model()->index(row, column).data().toString();
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace grid_test
