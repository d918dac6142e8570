// The expression grammar of the dialect (internal to the parser).
//
//   or         := and { OR and }
//   and        := not { AND not }
//   not        := { NOT } predicate
//   predicate  := primary [ cmp primary | IS [NOT] NULL | [NOT] LIKE primary ]
//   cmp        := = | <> | != | < | <= | > | >=
//   primary    := ( or ) | :param | 'text' | "text" | number | - number
//               | TRUE | FALSE | NULL | column
//   column     := name [ . name ]     where name is plain or "quoted"
//
// A double-quoted text is a string constant unless a "." follows it, which
// makes it a qualifier. Chains of AND and OR are read in loops into n-ary
// nodes; parentheses and NOT count against the cursor's depth limit.
#pragma once

#include "engine/sql/ast.h"
#include "engine/sql/token_cursor.h"

namespace engine::sql {

ExprPtr ParseExpr(TokenCursor& cursor);

// A column reference (qualified or not) at the cursor; nothing else.
ColumnRef ParseColumnRef(TokenCursor& cursor);

}  // namespace engine::sql
