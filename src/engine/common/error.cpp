#include "engine/common/error.h"

#include <map>

namespace engine {
namespace {

const std::map<int, std::string_view>& ErrorTexts() {
    static const std::map<int, std::string_view> texts = {
        {err::kRecordChanged,
         "Record has been changed or deleted by another user, session, or table cursor in the "
         "table '%s'"},
        {err::kNoCurrentRecord, "No current record in the table '%s'"},
        {err::kDuplicateKey, "Duplicate key found in the index '%s' of the table '%s'"},
        {err::kTableLocked, "The table '%s' is already locked by another user"},
        {err::kMustBeExclusive, "The table '%s' must be opened exclusively"},
        {err::kRecordLocked, "Record in the table '%s' is in use by another user"},
        {err::kTableMissing, "Table '%s' does not exist"},
        {err::kAccessDenied, "Access denied to table '%s'"},
        {err::kConnectionLost, "The connection to the database server at '%s' has been lost"},
        {err::kCannotConnect, "A connection to the database server at '%s' cannot be established"},
        {err::kLoginInvalid,
         "A connection to the database server at '%s' cannot be established, the login "
         "information provided is invalid"},
        {err::kRemoteDatabaseMissing,
         "The database '%s' does not exist on the database server at '%s'"},
        {err::kSqlError, "SQL error - %s"},
        {err::kTableExists, "The table '%s' already exists"},
        {err::kFolderMissing, "The folder '%s' does not exist or cannot be used"},
        {err::kCorruptFile, "The database file '%s' is damaged or is not a database: %s"},
        {err::kIoError, "The database '%s' cannot be read or written: %s"},
        {err::kInvalidOperation, "%s"},
        {err::kDiskFull, "There is not enough space on the disk for '%s': %s"},
        {err::kReadOnlyFolder, "The folder '%s' is read-only: %s"},
        {err::kLockFileUnusable, "The lock file '%s' cannot be read or written: %s"},
    };
    return texts;
}

// Fills each "%s" of the pattern with the next argument.
std::string Fill(std::string_view pattern, std::string_view a, std::string_view b) {
    std::string out;
    int used = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            out += used++ == 0 ? a : b;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string Quoted(std::string_view s) {
    return "'" + std::string(s) + "'";
}

}  // namespace

EngineError EngineError::Make(int code, std::string_view a, std::string_view b) {
    auto it = ErrorTexts().find(code);
    std::string text = it == ErrorTexts().end() ? std::string(a) : Fill(it->second, a, b);
    return EngineError(code, text, std::string(a));
}

DataSetError DataSetError::FieldNotFound(std::string_view name) {
    return DataSetError("項目 " + Quoted(name) + " が見つかりません");
}

DataSetError DataSetError::ParamNotFound(std::string_view name) {
    return DataSetError("パラメータ " + Quoted(name) + " が見つかりません");
}

DataSetError DataSetError::NotAnInteger(std::string_view text, std::string_view field) {
    return DataSetError(Quoted(text) + " は項目 " + Quoted(field) +
                        " に適した整数値ではありません");
}

DataSetError DataSetError::NotADate(std::string_view text) {
    return DataSetError(Quoted(text) + " は正しい日付ではありません");
}

DataSetError DataSetError::NotANumber(std::string_view text, std::string_view field) {
    return DataSetError(Quoted(text) + " は項目 " + Quoted(field) + " に適した数値ではありません");
}

DataSetError DataSetError::ActiveTransaction(std::string_view database) {
    return DataSetError("Database " + std::string(database) +
                        " already has an active transaction.");
}

}  // namespace engine
