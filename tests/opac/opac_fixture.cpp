#include "opac/opac_fixture.h"

#include <unistd.h>

#include "data/schema.h"
#include "engine/sql/parser.h"
#include "engine/storage/open_local.h"
#include "engine/translate/statement_runner.h"

namespace opac_test {

void OpacFixture::SetUp() {
    char name[] = "/tmp/kx-opac-test-XXXXXX";
    root = mkdtemp(name);
    folder = root / "data";
    std::filesystem::create_directories(folder);
    writer = engine::storage::OpenLocal(folder.string());
    Sql(kashidashi::DataTablesScript());
    Sql("Insert Into NDC (NDC_ID, NDC) Values (450, '地球科学');"
        "Insert Into NDC (NDC_ID, NDC) Values (910, '日本文学');"
        "Insert Into HKN (HKN_ID, HKN) Values (1, '図書室');"
        "Insert Into HKN (HKN_ID, HKN) Values (2, '学級文庫')");
}

void OpacFixture::TearDown() {
    site.reset();
    writer.reset();
    std::filesystem::remove_all(root);
}

void OpacFixture::Sql(const std::string& text) {
    for (const auto& statement : engine::sql::ParseScript(text))
        engine::translate::ExecuteStatement(
            statement, *writer, [](const std::string&) { return std::nullopt; }, text);
}

void OpacFixture::AddBook(int id, const std::string& title, const std::string& reading,
                          const std::string& author, const std::string& more) {
    Sql("Insert Into Book (BOOK_ID, syomei2, key1, cyosya1, kashidashiF, kintaiF, haikiF) "
        "Values (" +
        std::to_string(id) + ", '" + title + "', '" + reading + "', '" + author +
        "', False, False, False)");
    if (more.empty()) return;
    std::string set = more;
    for (char& c : set)
        if (c == ';') c = ',';
    Sql("Update Book Set " + set + " Where BOOK_ID = " + std::to_string(id));
}

kashidashi::opac::Site& OpacFixture::Site() {
    if (!site) {
        std::string data = folder.string();
        site = std::make_unique<kashidashi::opac::Site>(
            "", schoolName, [data] { return engine::storage::OpenLocal(data); },
            (root / "index.sqlite").string());
        site->Refresh();
    }
    return *site;
}

}  // namespace opac_test
