// Failures of the engine and of the data set layer.
//
// Every engine failure is an EngineError carrying the code and the text of the
// engine's error table; the text is what the operator's error box shows.
// Failures of the data set layer (a missing field or parameter, a text that is
// no number) are DataSetErrors: they have no engine code and a Japanese text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace engine {

namespace err {
constexpr int kRecordChanged = 8708;
constexpr int kNoCurrentRecord = 8709;
constexpr int kDuplicateKey = 9729;
constexpr int kTableLocked = 10241;
constexpr int kMustBeExclusive = 10253;
constexpr int kRecordLocked = 10258;
constexpr int kTableMissing = 11010;
constexpr int kAccessDenied = 11013;
constexpr int kConnectionLost = 11276;
constexpr int kCannotConnect = 11280;
constexpr int kLoginInvalid = 11287;
constexpr int kRemoteDatabaseMissing = 11294;
constexpr int kSqlError = 11949;
constexpr int kTableExists = 13060;
// Codes of our own, for failures the table above has no row for.
constexpr int kFolderMissing = 11001;     // a database folder that does not exist
constexpr int kCorruptFile = 12001;       // the database file is damaged or foreign
constexpr int kIoError = 12002;           // the storage could not read or write
constexpr int kInvalidOperation = 12003;  // a data set operation in the wrong state
constexpr int kDiskFull = 12004;          // no space left where the database is written
constexpr int kReadOnlyFolder = 12005;    // the folder or its medium cannot be written
constexpr int kLockFileUnusable = 12006;  // the desks' shared lock file cannot be used
}  // namespace err

class EngineError : public std::runtime_error {
  public:
    EngineError(int code, const std::string& text, std::string subject = {})
        : std::runtime_error(text), code_(code), subject_(std::move(subject)) {}
    int code() const { return code_; }
    // What the error is about, as Make was given it first: a table, a folder,
    // a file or a server; empty when the error names nothing.
    const std::string& subject() const { return subject_; }

    // Builds the error of `code` with its table text, "%s" filled in turn;
    // `a` is also the subject.
    static EngineError Make(int code, std::string_view a = {}, std::string_view b = {});

  private:
    int code_;
    std::string subject_;
};

class DataSetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;

    static DataSetError FieldNotFound(std::string_view name);  // 項目 '%s' が見つかりません
    static DataSetError ParamNotFound(std::string_view name);  // パラメータ '%s' が見つかりません
    static DataSetError NotAnInteger(std::string_view text, std::string_view field);
    static DataSetError NotADate(std::string_view text);
    static DataSetError NotANumber(std::string_view text, std::string_view field);
    static DataSetError ActiveTransaction(std::string_view database);
};

}  // namespace engine
