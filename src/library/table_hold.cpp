#include "library/table_hold.h"

#include <stdexcept>

namespace kashidashi::library {

using engine::storage::TableUse;

TableHold::TableHold(engine::storage::Connection& connection,
                     const std::vector<std::string>& tables, const std::string& what)
    : connection_(connection) {
    for (const auto& table : tables) {
        if (!connection_.TryUseTable(table, TableUse::Exclusive)) {
            Release();
            throw std::runtime_error("他の端末が " + table +
                                     " 表を使っています。すべての端末で貸出・返却の画面を"
                                     "閉じてから、もう一度" +
                                     what + "してください。何も変えていません。");
        }
        held_.push_back(table);
    }
}

TableHold::~TableHold() {
    Release();
}

void TableHold::Release() {
    for (const auto& table : held_) connection_.EndUseTable(table, TableUse::Exclusive);
    held_.clear();
}

}  // namespace kashidashi::library
