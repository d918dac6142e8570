// A canonical one-line text of a syntax tree, for tests and debugging.
//
// The form is a parenthesised prefix notation that shows the tree's shape
// and nothing of the source's spelling (keyword case, blanks, comments):
//   Select * From kashibo where kashidashiF='1' and BOOK_ID=:PM
//   -> (SELECT (ITEMS *) (FROM kashibo)
//       (WHERE (AND (= kashidashiF '1') (= BOOK_ID :PM))))   (on one line)
// Columns print bare (kashibo.Book_ID), strings in single quotes, parameters
// with ":", booleans TRUE/FALSE, NULL as NULL, floats always with a point or
// an exponent. A name that is no plain identifier prints in double quotes.
#pragma once

#include <string>

#include "engine/sql/ast.h"

namespace engine::sql {

std::string Dump(const Statement& statement);
std::string Dump(const Expr& expr);

}  // namespace engine::sql
