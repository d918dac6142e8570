#include "opac/read_only_connection.h"

#include <chrono>
#include <map>
#include <stdexcept>

#include "engine/common/names.h"

namespace kashidashi::opac {

namespace {

using namespace engine::storage;
namespace plan = engine::plan;
using engine::Value;

[[noreturn]] void Refuse() {
    throw std::logic_error("蔵書検索はデータを読むだけです。");
}

class ReadOnlyConnection final : public Connection {
  public:
    explicit ReadOnlyConnection(std::unique_ptr<Connection> inner) : inner_(std::move(inner)) {}

    // A table's description is kept for a few seconds: the catalogue reads
    // the same few tables at every page, and every statement asks for them.
    // A layout changed meanwhile (an upgrade adding a column) is met within
    // those seconds; until then the columns known are still read right.
    std::optional<TableSchema> DescribeTable(const std::string& name) override {
        auto now = std::chrono::steady_clock::now();
        auto it = kept_.find(engine::LowerName(name));
        if (it != kept_.end() && now - it->second.when < kKeepSchema) return it->second.schema;
        auto schema = inner_->DescribeTable(name);
        kept_[engine::LowerName(name)] = Kept{schema, now};
        return schema;
    }
    std::vector<std::string> TableNames() override { return inner_->TableNames(); }
    std::optional<TableSchema> DescribeTableKept(const std::string& name) override {
        return DescribeTable(name);
    }
    uint64_t SchemaChanges() const override { return inner_->SchemaChanges(); }
    void CreateTable(const TableSchema&) override { Refuse(); }
    void AddColumns(const std::string&, const std::vector<ColumnDef>&) override { Refuse(); }
    void CreateIndex(const std::string&, const IndexDef&) override { Refuse(); }
    void DropTable(const std::string&) override { Refuse(); }
    void RenameTable(const std::string&, const std::string&) override { Refuse(); }
    void EmptyTable(const std::string&) override { Refuse(); }

    std::vector<Row> Scan(const ScanRequest& request) override { return inner_->Scan(request); }
    int64_t Count(const TableSchema& table, const plan::Expr* filter) override {
        return inner_->Count(table, filter);
    }
    std::optional<Row> ReadRow(const TableSchema& table, RowId id) override {
        return inner_->ReadRow(table, id);
    }
    RowId InsertRow(const TableSchema&, std::vector<Value>&) override { Refuse(); }
    bool UpdateRow(const TableSchema&, RowId, const std::vector<Value>&,
                   const std::vector<Value>&) override {
        Refuse();
    }
    bool DeleteRow(const TableSchema&, RowId, const std::vector<Value>&) override { Refuse(); }

    ResultSet Run(const plan::Select& select) override { return inner_->Run(select); }
    int64_t Run(const plan::Update&) override { Refuse(); }
    int64_t Run(const plan::Delete&) override { Refuse(); }
    int64_t Run(const plan::Insert&) override { Refuse(); }

    void Begin() override { Refuse(); }
    void Commit(bool) override { Refuse(); }
    void Rollback() override { inner_->Rollback(); }
    bool InTransaction() const override { return inner_->InTransaction(); }
    // One moment of the data for a page that reads several tables.
    void BeginSnapshot() override { inner_->BeginSnapshot(); }

    bool TryUseTable(const std::string&, TableUse) override { Refuse(); }
    void EndUseTable(const std::string&, TableUse) override { Refuse(); }
    bool TryLockRow(const std::string&, RowId) override { Refuse(); }
    void UnlockRow(const std::string&, RowId) override { Refuse(); }

    std::string Location() const override { return inner_->Location(); }
    bool Replaceable() const override { return inner_->Replaceable(); }

  private:
    static constexpr std::chrono::seconds kKeepSchema{10};
    struct Kept {
        std::optional<TableSchema> schema;
        std::chrono::steady_clock::time_point when;
    };
    std::unique_ptr<Connection> inner_;
    std::map<std::string, Kept> kept_;
};

}  // namespace

std::unique_ptr<Connection> ReadOnly(std::unique_ptr<Connection> connection) {
    return std::make_unique<ReadOnlyConnection>(std::move(connection));
}

}  // namespace kashidashi::opac
