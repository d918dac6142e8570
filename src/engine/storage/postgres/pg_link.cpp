#include "engine/storage/postgres/pg_link.h"

#include <atomic>
#include <charconv>
#include <cstring>
#include <utility>

#include "engine/storage/postgres/pg_values.h"

namespace engine::storage::postgres {
namespace {

bool StartsWith(const char* state, const char* prefix) {
    return state && std::strncmp(state, prefix, std::strlen(prefix)) == 0;
}

// The server's first line of the message, without "ERROR:  ".
std::string PrimaryMessage(PGresult* result) {
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    return primary ? primary : "";
}

// The failure of a prepared statement that no longer fits its tables (its
// result type changed) or that the server no longer has.
bool Outdated(PGresult* result) {
    if (PQresultStatus(result) != PGRES_FATAL_ERROR) return false;
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    return StartsWith(state, "0A000") || StartsWith(state, "26000");
}

// A statement the server skipped because one before it in its group failed.
bool Skipped(PGresult* result) {
    return result && PQresultStatus(result) == PGRES_PIPELINE_ABORTED;
}

// A statement that met a table other than it was written for.
bool SchemaMismatch(PGresult* result) {
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    return Outdated(result) || StartsWith(state, "42703") || StartsWith(state, "42P01");
}

}  // namespace

bool PgResult::Ok() const {
    auto status = PQresultStatus(result_.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string_view PgResult::Text(int row, int column) const {
    return {PQgetvalue(result_.get(), row, column),
            static_cast<size_t>(PQgetlength(result_.get(), row, column))};
}

int64_t PgResult::Integer(int row, int column) const {
    auto text = Text(row, column);
    int64_t n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

Value PgResult::At(int row, int column, const ColumnType& type) const {
    if (IsNull(row, column)) return Value();
    return ReadValue(Text(row, column), type);
}

int64_t PgResult::Changed() const {
    const char* tuples = PQcmdTuples(result_.get());
    return tuples && *tuples ? std::atoll(tuples) : 0;
}

// The bound values as the server reads them (NULL as a null pointer).
struct WireValues {
    explicit WireValues(const std::vector<Value>& bindings) {
        texts.reserve(bindings.size());
        for (const auto& value : bindings) {
            texts.push_back(WireText(value));
            values.push_back(value.IsNull() ? nullptr : texts.back().c_str());
        }
    }
    int Count() const { return static_cast<int>(values.size()); }
    std::vector<std::string> texts;
    std::vector<const char*> values;
};

namespace {
std::atomic<uint64_t> roundTrips{0};
}

uint64_t PgLink::RoundTrips() {
    return roundTrips.load();
}

// One statement's answer in the pipeline: its failure if it failed, else
// its last result (PGRES_PIPELINE_ABORTED when an earlier statement of its
// group failed); nullptr when the connection broke before it.
PGresult* PgLink::ReadAnswer() {
    PGresult* answer = nullptr;
    while (PGresult* result = PQgetResult(conn_)) {
        if (PQresultStatus(result) == PGRES_PIPELINE_SYNC) {
            PQclear(result);  // the group ended before this answer: none to read
            break;
        }
        if (!answer || PQresultStatus(answer) != PGRES_FATAL_ERROR) std::swap(answer, result);
        PQclear(result);
    }
    return answer;
}

// A queued statement's answer; the failure of its preparation, if that
// failed (the statement itself was then skipped).
PGresult* PgLink::ReadAnswer(const Queued& queued) {
    PGresult* preparation = queued.prepare ? ReadAnswer() : nullptr;
    PGresult* answer = ReadAnswer();
    if (preparation && PQresultStatus(preparation) != PGRES_COMMAND_OK)
        std::swap(answer, preparation);
    PQclear(preparation);
    return answer;
}

// Reads and drops everything up to the sync that ends a group.
void PgLink::ReadSync() {
    for (int nothing = 0; nothing < 2 && !Broken();) {
        PGresult* result = PQgetResult(conn_);
        nothing = result ? 0 : nothing + 1;
        bool sync = result && PQresultStatus(result) == PGRES_PIPELINE_SYNC;
        PQclear(result);
        if (sync) return;
    }
}

// Puts a statement in the pipeline, its preparation before it on its first
// use; the group's sync comes after the last.
bool PgLink::Queue(const std::string& sql, const WireValues& wire, Queued& queued) {
    auto it = prepared_.find(sql);
    queued.prepare = it == prepared_.end() && Preparable(sql);
    if (queued.prepare) queued.name = "kx_" + std::to_string(++preparedCount_);
    if (it != prepared_.end()) queued.name = it->second;
    const char* name = queued.name.c_str();
    return (!queued.prepare || PQsendPrepare(conn_, name, sql.c_str(), 0, nullptr)) &&
           (queued.name.empty() ? PQsendQueryParams(conn_, sql.c_str(), wire.Count(), nullptr,
                                                    wire.values.data(), nullptr, nullptr, 0)
                                : PQsendQueryPrepared(conn_, name, wire.Count(), wire.values.data(),
                                                      nullptr, nullptr, 0));
}

// Keeps a statement prepared in the pipeline; forgets one found outdated.
void PgLink::Settle(const std::string& sql, const Queued& queued, PGresult* result) {
    bool failed =
        PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK;
    if (queued.prepare && !failed) prepared_.emplace(sql, queued.name);
    if (!queued.prepare && !queued.name.empty() && Outdated(result)) prepared_.erase(sql);
    NoteSchemaChange(result);
}

void PgLink::NoteSchemaChange(PGresult* result) {
    if (SchemaMismatch(result)) ++schemaChanges_;
}

bool PgLink::EnterPipeline() {
    return PQpipelineStatus(conn_) != PQ_PIPELINE_OFF || PQenterPipelineMode(conn_);
}

void PgLink::LeavePipeline() {
    if (aheadStatements_ == 0 && quietGroups_ == 0 && PQpipelineStatus(conn_) != PQ_PIPELINE_OFF)
        PQexitPipelineMode(conn_);
}

// The statements, after those waiting to go with them, as one group with
// one sync: one message to the server and one answer back. The answers of
// the groups sent ahead are read first and dropped, then those of the
// statements that went with these.
std::vector<PGresult*> PgLink::SendGroup(const std::vector<PgStatement>& statements) {
    std::vector<Queued> queued(statements.size());
    bool sent = true;
    for (size_t i = 0; i < statements.size() && sent; ++i)
        sent = Queue(statements[i].sql, WireValues(statements[i].bindings), queued[i]);
    sent = sent && PQpipelineSync(conn_);
    ++roundTrips;
    int ahead = std::exchange(aheadStatements_, 0);
    for (; quietGroups_ > 0 && sent; --quietGroups_) ReadSync();
    for (; ahead > 0 && sent; --ahead) PQclear(ReadAnswer());
    std::vector<PGresult*> answers;
    for (size_t i = 0; i < statements.size(); ++i) {
        answers.push_back(sent ? ReadAnswer(queued[i]) : nullptr);
        Settle(statements[i].sql, queued[i], answers.back());
    }
    if (sent) ReadSync();
    quietGroups_ = 0;
    LeavePipeline();
    return answers;
}

// Statements of a group are skipped by the server after a failure in it:
// those run again alone, as they would have run had they been sent alone.
// One whose prepared form was found outdated runs again unprepared, as Send
// does, unless its failure ended a transaction.
std::vector<PgResult> PgLink::ExecTogether(const std::vector<PgStatement>& statements) {
    if (Broken()) throw EngineError::Make(err::kConnectionLost, location_);
    std::vector<PgResult> answers;
    if (!EnterPipeline()) {
        for (const auto& s : statements) answers.emplace_back(Send(s.sql, s.bindings));
        return answers;
    }
    for (PGresult* answer : SendGroup(statements)) answers.emplace_back(answer);
    if (Broken()) throw EngineError::Make(err::kConnectionLost, location_);
    for (size_t i = 0; i < statements.size(); ++i)
        if (Skipped(answers[i].Raw()) ||
            (Outdated(answers[i].Raw()) && PQtransactionStatus(conn_) == PQTRANS_IDLE))
            answers[i] = PgResult(Send(statements[i].sql, statements[i].bindings));
    return answers;
}

PGresult* PgLink::Send(const std::string& sql, const std::vector<Value>& bindings) {
    if (InPipeline() && !Broken()) {
        PGresult* answer = SendGroup({{sql, bindings}}).front();
        if (!Skipped(answer)) return answer;
        PQclear(answer);  // a statement that went with it failed: alone now
    }
    WireValues wire(bindings);
    PGresult* refused = nullptr;
    if (const char* name = PreparedName(sql, refused)) {
        ++roundTrips;
        PGresult* result =
            PQexecPrepared(conn_, name, wire.Count(), wire.values.data(), nullptr, nullptr, 0);
        if (!Outdated(result)) return result;
        NoteSchemaChange(result);
        // A table changed under the statement: prepared anew at its next
        // use, and run unprepared now unless the failure ended a transaction.
        prepared_.erase(sql);
        if (PQtransactionStatus(conn_) != PQTRANS_IDLE) return result;
        PQclear(result);
    }
    if (refused) return refused;
    ++roundTrips;
    return PQexecParams(conn_, sql.c_str(), wire.Count(), nullptr, wire.values.data(), nullptr,
                        nullptr, 0);
}

bool PgLink::Preparable(const std::string& sql) const {
    static const char* kRowStatements[] = {"SELECT ", "INSERT ", "UPDATE ", "DELETE ", "WITH "};
    bool rowStatement = false;
    for (const char* start : kRowStatements) rowStatement |= sql.rfind(start, 0) == 0;
    return rowStatement && prepared_.size() < kMostPrepared;
}

// The server parses and plans a row statement once per connection; the
// statements are few (the tables' reads and writes), and past kMostPrepared
// the rest run unprepared. A statement the server refuses to prepare leaves
// its answer in `refused`: the statement's own failure, which may also have
// ended the transaction.
const char* PgLink::PreparedName(const std::string& sql, PGresult*& refused) {
    if (auto it = prepared_.find(sql); it != prepared_.end()) return it->second.c_str();
    if (!Preparable(sql)) return nullptr;
    std::string name = "kx_" + std::to_string(++preparedCount_);
    ++roundTrips;
    PGresult* result = PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) {
        refused = result;
        return nullptr;
    }
    PQclear(result);
    return prepared_.emplace(sql, name).first->second.c_str();
}

PgResult PgLink::Exec(const std::string& sql, const std::vector<Value>& bindings) {
    if (Broken()) throw EngineError::Make(err::kConnectionLost, location_);
    PGresult* result = Send(sql, bindings);
    NoteSchemaChange(result);
    auto status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return PgResult(result);
    ThrowFailure(result);
}

void PgLink::ExecQuietly(const std::string& sql, const std::vector<Value>& bindings) {
    if (!Broken()) PQclear(Send(sql, bindings));
}

bool PgLink::SendQuiet(const std::string& sql, const std::vector<Value>& bindings) {
    if (Broken()) return false;
    if (!EnterPipeline()) {
        PQclear(Send(sql, bindings));
        return false;
    }
    WireValues wire(bindings);
    return PQsendQueryParams(conn_, sql.c_str(), wire.Count(), nullptr, wire.values.data(), nullptr,
                             nullptr, 0);
}

void PgLink::SendAhead(const std::string& sql, const std::vector<Value>& bindings) {
    if (SendQuiet(sql, bindings) && PQpipelineSync(conn_)) ++quietGroups_;
}

void PgLink::SendWithNext(const std::string& sql, const std::vector<Value>& bindings) {
    if (SendQuiet(sql, bindings)) ++aheadStatements_;
}

void PgLink::ThrowFailure(PGresult* result) {
    PgResult owner(result);  // freed on the way out
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    std::string message = result ? PrimaryMessage(result) : PQerrorMessage(conn_);
    if (Broken() || StartsWith(state, "08") || StartsWith(state, "57P"))
        throw EngineError::Make(err::kConnectionLost, location_);
    if (StartsWith(state, "23505")) throw EngineError::Make(err::kDuplicateKey, "", "");
    if (StartsWith(state, "55P03") || StartsWith(state, "40"))
        throw EngineError::Make(err::kTableLocked, location_);
    if (StartsWith(state, "42") || StartsWith(state, "22") || StartsWith(state, "54"))
        throw EngineError::Make(err::kSqlError, message);
    throw EngineError::Make(err::kIoError, location_, message);
}

}  // namespace engine::storage::postgres
