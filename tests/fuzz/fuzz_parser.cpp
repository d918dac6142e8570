// libFuzzer target for the SQL dialect's lexer and parser.
//
// Every input goes through ParameterNames (which must never throw),
// ParseScript and ParseExpression. A syntax error must be the engine's SQL
// error 11949; anything else (another exception, a crash, a sanitizer
// report, a stack overflow) is a finding. A script that parses must also
// parse statement by statement: the text between a statement's offset and
// end gives the same tree on its own.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/common/error.h"
#include "engine/sql/dump.h"
#include "engine/sql/parser.h"

namespace {

using namespace engine;

void CheckSqlError(const EngineError& e) {
    if (e.code() != err::kSqlError) std::abort();
}

void FuzzScript(std::string_view text) {
    try {
        for (const sql::Statement& statement : sql::ParseScript(text)) {
            std::string_view own = text.substr(statement.offset, statement.end - statement.offset);
            if (sql::Dump(sql::ParseStatement(own)) != sql::Dump(statement)) std::abort();
        }
    } catch (const EngineError& e) {
        CheckSqlError(e);
    }
}

void FuzzExpression(std::string_view text) {
    try {
        sql::Dump(*sql::ParseExpression(text));
    } catch (const EngineError& e) {
        CheckSqlError(e);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    sql::ParameterNames(text);
    FuzzScript(text);
    FuzzExpression(text);
    return 0;
}
