#include "library/accounts/web_accounts.h"

#include "desk/entry_rules.h"
#include "engine/common/error.h"
#include "engine/storage/own_table.h"
#include "library/accounts/password_hash.h"
#include "library/accounts/web_switches.h"
#include "library/connection_transaction.h"
#include "library/sql_rows.h"

namespace kashidashi::accounts {
namespace {

using engine::DateTime;
using engine::Value;
using engine::storage::Connection;
using engine::storage::TableSchema;
using library::IntegerOf;
using library::SelectRows;
using library::TextOf;

constexpr int64_t kMsecsPerMinute = 60 * 1000;

// Columns: NAME_ID, PW_HASH, FAILURES, LOCKED_UNTIL, ISSUED, CHANGED.
enum Column { kNameId, kHash, kFailures, kLockedUntil, kIssued, kChanged };

TableSchema AccountTable() {
    using engine::FieldType;
    TableSchema table;
    table.name = kAccountTable;
    table.columns = {
        {"NAME_ID", {FieldType::String, 6}},   {"PW_HASH", {FieldType::String, 128}},
        {"FAILURES", {FieldType::Integer, 0}}, {"LOCKED_UNTIL", {FieldType::DateTime, 0}},
        {"ISSUED", {FieldType::DateTime, 0}},  {"CHANGED", {FieldType::DateTime, 0}}};
    table.indexes = {{"PRIMARY", {"NAME_ID"}, true, true}};
    return table;
}

std::optional<TableSchema> ExistingTable(Connection& connection) {
    return connection.DescribeTable(kAccountTable);
}

TableSchema RequireTable(Connection& connection) {
    return engine::storage::EnsureOwnTable(connection, AccountTable());
}

std::optional<engine::storage::Row> AccountRow(Connection& connection, const TableSchema& table,
                                               const std::string& nameId) {
    engine::storage::ScanRequest find;
    find.table = &table;
    find.orderColumns = {kNameId};
    find.equalKeys = {Value(nameId)};
    auto rows = connection.Scan(find);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

std::optional<WebUser> UserOfRows(const engine::storage::ResultSet& result) {
    if (result.rows.empty()) return std::nullopt;
    const auto& v = result.rows.front().values;
    WebUser user{TextOf(v[0]), TextOf(v[1]), TextOf(v[2]), std::nullopt};
    if (!v[3].IsNull()) user.classCode = IntegerOf(v[3]);
    return user;
}

constexpr const char* kUserColumns = "Select NAME_ID, seito_No, NAME, syozoku_ID From Name ";

bool LockedAt(const std::vector<Value>& values, DateTime now) {
    return values[kLockedUntil].IsDateTime() && now < values[kLockedUntil].DateTimeValue();
}

// Writes what a password try did to the account's row: a right one clears
// the count, a wrong one adds to it and the fifth locks the account.
// Returns the lock's end when this try locked it.
std::optional<DateTime> RecordTry(Connection& connection, const std::string& nameId, bool right,
                                  DateTime now) {
    const TableSchema table = RequireTable(connection);
    for (int attempt = 0; attempt < 5; ++attempt) {
        library::ConnectionTransaction transaction(connection);
        auto row = AccountRow(connection, table, nameId);
        if (!row) return std::nullopt;
        auto values = row->values;
        std::optional<DateTime> locked;
        if (right) {
            values[kFailures] = Value(int64_t{0});
            values[kLockedUntil] = Value();
        } else {
            // A lock that has ended starts the count again.
            int64_t failures = LockedAt(values, now) || values[kLockedUntil].IsNull()
                                   ? IntegerOf(values[kFailures])
                                   : 0;
            if (!values[kLockedUntil].IsNull() && !LockedAt(values, now))
                values[kLockedUntil] = Value();
            if (++failures >= kWrongPasswordsBeforeLock) {
                locked = DateTime{now.msecs + kLockMinutes * kMsecsPerMinute};
                values[kLockedUntil] = Value(*locked);
                failures = 0;
            }
            values[kFailures] = Value(failures);
        }
        if (values == row->values) return locked;
        if (connection.UpdateRow(table, row->id, row->values, values)) {
            transaction.Commit();
            return locked;
        }
        // Another try of the same account wrote in between: read it again.
    }
    throw engine::EngineError::Make(engine::err::kRecordChanged, kAccountTable);
}

void StoreHash(Connection& connection, const std::string& nameId, const std::string& hash,
               DateTime now, bool issued) {
    const TableSchema table = RequireTable(connection);
    library::ConnectionTransaction transaction(connection);
    auto row = AccountRow(connection, table, nameId);
    std::vector<Value> values =
        row ? row->values : std::vector<Value>(table.columns.size(), Value());
    values[kNameId] = Value(nameId);
    values[kHash] = Value(hash);
    values[kFailures] = Value(int64_t{0});
    values[kLockedUntil] = Value();
    values[issued ? kIssued : kChanged] = Value(now);
    if (issued) values[kChanged] = Value();
    if (row) {
        if (!connection.UpdateRow(table, row->id, row->values, values))
            throw engine::EngineError::Make(engine::err::kRecordChanged, kAccountTable);
    } else {
        connection.InsertRow(table, values);
    }
    transaction.Commit();
}

// The account's stored values, when the user has one.
std::optional<std::vector<Value>> AccountValues(Connection& connection, const std::string& nameId) {
    auto table = ExistingTable(connection);
    if (!table) return std::nullopt;
    auto row = AccountRow(connection, *table, nameId);
    if (!row) return std::nullopt;
    return row->values;
}

// Full-width digits (a tablet's Japanese input) as ASCII ones.
std::string HalfWidthDigits(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        // U+FF10..U+FF19 are EF BC 90..99 in UTF-8.
        if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
            static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const unsigned char last = static_cast<unsigned char>(text[i + 2]);
            if (last >= 0x90 && last <= 0x99) {
                out += static_cast<char>('0' + (last - 0x90));
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

void EnsureWebTables(Connection& connection) {
    RequireTable(connection);
    if (!connection.DescribeTable(kSwitchTable)) WriteWebSwitches(connection, WebSwitches{});
}

std::optional<WebUser> FindWebUser(Connection& connection, const std::string& typedNumber) {
    const std::string number = desk::UserNumber(HalfWidthDigits(typedNumber));
    switch (desk::UserKeyOf(number)) {
        case desk::UserKey::PupilNumber:
            return UserOfRows(SelectRows(connection,
                                         std::string(kUserColumns) + "Where seito_No=:PM1",
                                         {{"pm1", Value(number)}}));
        case desk::UserKey::FixedNumber:
            return UserOfNameId(connection, number);
        case desk::UserKey::None:
            break;
    }
    return std::nullopt;
}

std::optional<WebUser> UserOfNameId(Connection& connection, const std::string& nameId) {
    return UserOfRows(SelectRows(connection, std::string(kUserColumns) + "Where NAME_ID=:PM1",
                                 {{"pm1", Value(nameId)}}));
}

std::string IssuePassword(Connection& connection, const std::string& nameId, DateTime now) {
    std::string password = NewSlipPassword();
    StoreHash(connection, nameId, HashPassword(password), now, true);
    return password;
}

bool HasAccount(Connection& connection, const std::string& nameId) {
    return AccountValues(connection, nameId).has_value();
}

LoginResult Login(Connection& connection, const std::string& typedNumber,
                  const std::string& password, DateTime now) {
    LoginResult result;
    auto user = FindWebUser(connection, typedNumber);
    auto account = user ? AccountValues(connection, user->nameId) : std::nullopt;
    if (!account || password.size() > kLongestPassword * 4) {
        SpendVerificationTime(password.substr(0, kLongestPassword * 4));
        return result;
    }
    if (LockedAt(*account, now)) {
        result.outcome = LoginOutcome::Locked;
        result.lockedUntil = (*account)[kLockedUntil].DateTimeValue();
        return result;
    }
    const bool right = VerifyPassword(TextOf((*account)[kHash]), password);
    auto locked = RecordTry(connection, user->nameId, right, now);
    if (right) {
        result.outcome = LoginOutcome::LoggedIn;
        result.user = *user;
    } else if (locked) {
        result.outcome = LoginOutcome::Locked;
        result.lockedUntil = *locked;
    }
    return result;
}

ChangeOutcome ChangePassword(Connection& connection, const WebUser& user,
                             const std::string& present, const std::string& chosen, DateTime now) {
    if (chosen.size() < kShortestPassword) return ChangeOutcome::TooShort;
    if (chosen.size() > kLongestPassword) return ChangeOutcome::TooLong;
    if (chosen == user.nameId || chosen == user.pupilNo) return ChangeOutcome::SameAsNumber;
    auto account = AccountValues(connection, user.nameId);
    if (!account) return ChangeOutcome::WrongPassword;
    if (LockedAt(*account, now)) return ChangeOutcome::Locked;
    const bool right = present.size() <= kLongestPassword * 4 &&
                       VerifyPassword(TextOf((*account)[kHash]), present);
    if (!right) {
        return RecordTry(connection, user.nameId, false, now) ? ChangeOutcome::Locked
                                                              : ChangeOutcome::WrongPassword;
    }
    StoreHash(connection, user.nameId, HashPassword(chosen), now, false);
    return ChangeOutcome::Changed;
}

}  // namespace kashidashi::accounts
