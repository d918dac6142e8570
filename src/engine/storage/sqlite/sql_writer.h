// Writes resolved statements and filters as SQLite statements. Every value
// becomes a "?" with its Value in `bindings`; names are quoted. The dialect's
// NULL rules (see plan.h) are written out with IS, IS NOT and COALESCE, and
// LIKE becomes a case-sensitive GLOB.
#pragma once

#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/plan.h"

namespace engine::storage::sqlite {

std::string QuoteName(const std::string& name);

class SqlWriter {
  public:
    // With `qualified`, a column of source n is written as "tn"."column".
    SqlWriter(std::vector<const TableSchema*> sources, bool qualified)
        : sources_(std::move(sources)), qualified_(qualified) {}

    std::string Write(const plan::Expr& expr);
    std::string Column(int source, int column) const;
    std::vector<Value>& bindings() { return bindings_; }

  private:
    std::string Bind(const Value& value);
    std::string WriteCompare(const plan::Compare& c);
    std::string WriteLike(const plan::Like& like);
    bool IsText(const plan::Expr& expr) const;

    std::vector<const TableSchema*> sources_;
    bool qualified_;
    std::vector<Value> bindings_;
};

std::string WriteSelect(const plan::Select& select, std::vector<Value>& bindings);
std::string WriteUpdate(const plan::Update& update, std::vector<Value>& bindings);
std::string WriteDelete(const plan::Delete& del, std::vector<Value>& bindings);

// A LIKE pattern ("%" any run, "_" one character) as a GLOB pattern.
std::string LikeToGlob(const std::string& pattern);

}  // namespace engine::storage::sqlite
