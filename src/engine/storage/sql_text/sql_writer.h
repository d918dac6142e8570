// Writes resolved statements and filters as the SQL of a backend. Every value
// becomes a placeholder with its Value in `bindings`; names are quoted. The
// dialect's NULL rules (see plan.h) are written out with the backend's
// NULL-aware equality and COALESCE; the backend's own spellings come from its
// SqlDialect.
#pragma once

#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/plan.h"
#include "engine/storage/sql_text/sql_dialect.h"

namespace engine::storage::sqltext {

std::string QuoteName(const std::string& name);

class SqlWriter {
  public:
    // With `qualified`, a column of source n is written as "tn"."column".
    SqlWriter(const SqlDialect& dialect, std::vector<const TableSchema*> sources, bool qualified)
        : dialect_(dialect), sources_(std::move(sources)), qualified_(qualified) {}

    std::string Write(const plan::Expr& expr);
    std::string Column(int source, int column) const;
    // The placeholder of one more bound value ("NULL" for a NULL).
    std::string Bind(const Value& value);
    // The placeholder of one more bound value, a NULL one too.
    std::string BindAny(const Value& value);
    const SqlDialect& dialect() const { return dialect_; }
    std::vector<Value>& bindings() { return bindings_; }

  private:
    std::string WriteCompare(const plan::Compare& c);
    std::string WriteLike(const plan::Like& like);
    std::string WriteNot(const plan::Not& n);
    bool IsText(const plan::Expr& expr) const;

    const SqlDialect& dialect_;
    std::vector<const TableSchema*> sources_;
    bool qualified_;
    std::vector<Value> bindings_;
};

std::string WriteSelect(const SqlDialect& dialect, const plan::Select& select,
                        std::vector<Value>& bindings);
std::string WriteUpdate(const SqlDialect& dialect, const plan::Update& update,
                        std::vector<Value>& bindings);
std::string WriteDelete(const SqlDialect& dialect, const plan::Delete& del,
                        std::vector<Value>& bindings);

}  // namespace engine::storage::sqltext
