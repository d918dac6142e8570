#include "data_fixture.h"

#include <unistd.h>

#include <atomic>

#include "engine/common/field_type.h"

namespace data_test {

void DataFixture::SetUp() {
    static std::atomic<int> counter{0};
    const int n = counter++;
    folder = std::filesystem::temp_directory_path() /
             ("kx_data_" + std::to_string(getpid()) + "_" + std::to_string(n));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    session = std::make_unique<engine::TDBSession>("DTEST" + std::to_string(n));
    database = std::make_unique<engine::TDBDatabase>("DB", *session);
    database->SetDirectory(folder.string());
}

void DataFixture::TearDown() {
    database.reset();
    session.reset();
    std::filesystem::remove_all(folder);
}

void DataFixture::RunSql(const std::string& text) {
    engine::TDBQuery query;
    query.SetSessionName(SessionName());
    query.SetDatabaseName("DB");
    query.SQL().SetText(text);
    query.ExecSQL();
}

std::unique_ptr<engine::TDBTable> DataFixture::Table(const std::string& name) {
    auto table = std::make_unique<engine::TDBTable>();
    table->SetSessionName(SessionName());
    table->SetDatabaseName("DB");
    table->SetTableName(name);
    return table;
}

bool DataFixture::TableExists(const std::string& name) {
    return Table(name)->Exists();
}

std::vector<RowValues> DataFixture::Rows(const std::string& name) {
    auto table = Table(name);
    table->Open();
    std::vector<RowValues> rows;
    for (table->First(); !table->Eof(); table->Next()) {
        RowValues row;
        for (int i = 0; i < table->FieldCount(); ++i) {
            row[table->Fields(i).FieldName()] = table->Fields(i).GetValue();
        }
        rows.push_back(std::move(row));
        if (rows.size() > 10000) break;  // a walk that never ends must not hang the test
    }
    return rows;
}

std::vector<std::string> DataFixture::Layout(const std::string& name) {
    auto table = Table(name);
    table->Open();
    std::vector<std::string> columns;
    for (const auto& column : table->Schema().columns) {
        columns.push_back(column.name + " " + engine::TypeName(column.type));
    }
    return columns;
}

void DataFixture::AppendRow(const std::string& name, const RowValues& values) {
    auto table = Table(name);
    table->Open();
    table->Append();
    for (const auto& [column, value] : values) table->FieldByName(column).SetValue(value);
    table->Post();
}

}  // namespace data_test
