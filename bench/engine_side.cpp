#include "engine_side.h"

#include <random>

#include "bench_fixture.h"
#include "engine/common/dates.h"

namespace bench {

EngineSide::EngineSide(const std::string& folder) : session("BENCH"), database("AAA", session) {
    database.SetDirectory(folder);
}

EngineSide::EngineSide(const engine::storage::ServerAddress& server)
    : session("BENCH_SERVER"), database("SRV", session) {
    engine::PointAtServer(session, database, server);
    database.SetConnected(true);
}

std::unique_ptr<engine::TDBTable> EngineSide::Table(const std::string& name) {
    auto table = std::make_unique<engine::TDBTable>();
    table->SetSessionName(session.SessionName());
    table->SetDatabaseName(database.DatabaseName());
    table->SetTableName(name);
    return table;
}

std::vector<int> RandomIds(int count, int max) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(1, max);
    std::vector<int> ids(count);
    for (auto& id : ids) id = pick(random);
    return ids;
}

double EngineKeySearch(EngineSide& side, const std::vector<int>& ids) {
    auto book = side.Table("Book");
    book->Open();
    size_t total = 0;
    double seconds = Seconds([&] {
        for (int id : ids)
            if (book->FindKey({engine::Value(id)}))
                total += book->FieldByName("syomei2").AsString().size();
    });
    return total ? seconds : -1;
}

namespace {

void WriteLoan(engine::TDBTable& loans, engine::TDBTable& book, int bookId) {
    loans.Append();
    loans.FieldByName("BOOK_ID").SetAsInteger(bookId);
    loans.FieldByName("NAME_ID").SetAsString("000001");
    loans.FieldByName("kashidashiF").SetAsString("1");
    loans.FieldByName("seitoNo").SetAsString("00001");
    loans.FieldByName("kashidashibi").SetValue(engine::Value(engine::Today()));
    loans.FieldByName("henkyakuyotei").SetValue(engine::Value(engine::Today()));
    loans.Post();
    book.FindKey({engine::Value(bookId)});
    book.Edit();
    book.FieldByName("kashidashiF").SetAsBoolean(true);
    book.Post();
}

}  // namespace

void EngineLend(EngineSide& side, int round) {
    auto book = side.Table("Book");
    auto loans = side.Table("kashibo");
    auto name = side.Table("Name");
    book->Open();
    loans->Open();
    name->Open();
    side.database.StartTransaction();
    for (int i = 0; i < 3; ++i) WriteLoan(*loans, *book, round * 3 + i + 1);
    name->FindKey({engine::Value("000001")});
    name->Edit();
    name->FieldByName("mihenkyakuSU")
        .SetAsInteger(name->FieldByName("mihenkyakuSU").AsInteger() + 3);
    name->Post();
    side.database.Commit(true);
}

}  // namespace bench
