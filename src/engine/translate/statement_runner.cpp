#include "engine/translate/statement_runner.h"

#include "engine/translate/change_binder.h"
#include "engine/translate/ddl_executor.h"
#include "engine/translate/select_binder.h"

namespace engine::translate {

storage::ResultSet RunQuery(const sql::SelectStmt& select, storage::Connection& connection,
                            const ParamValues& params, std::string_view text) {
    return connection.Run(BindSelect(select, connection, params, text));
}

int64_t ExecuteStatement(const sql::Statement& statement, storage::Connection& connection,
                         const ParamValues& params, std::string_view text) {
    if (auto* select = statement.As<sql::SelectStmt>()) {
        RunQuery(*select, connection, params, text);
        return 0;
    }
    if (auto* update = statement.As<sql::UpdateStmt>())
        return connection.Run(BindUpdate(*update, connection, params, text));
    if (auto* del = statement.As<sql::DeleteStmt>())
        return connection.Run(BindDelete(*del, connection, params, text));
    if (auto* insert = statement.As<sql::InsertStmt>())
        return connection.Run(BindInsert(*insert, connection, params, text));
    ExecuteDefinition(statement, connection, text);
    return 0;
}

}  // namespace engine::translate
