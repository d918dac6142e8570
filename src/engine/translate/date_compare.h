// A DATE column compared with a date-and-time constant counts as the
// midnight of its day. Rather than turn every stored date into a
// date-and-time (which hides the column from its index), the constant is
// turned into the date bound that gives the same answer:
//   d*day <  t  <=>  d <  ceil(t/day)      d*day <= t  <=>  d <= floor(t/day)
//   d*day >  t  <=>  d >  floor(t/day)     d*day >= t  <=>  d >= ceil(t/day)
//   d*day =  t  <=>  d =  t/day, when t is a midnight (likewise <>).
#pragma once

#include <optional>

#include "engine/storage/plan.h"

namespace engine::translate {

// The comparison "column op moment" as a comparison of dates, or nothing
// when it has no such form (= or <> against a moment that is no midnight);
// the column is taken only when the comparison is made.
plan::ExprPtr CompareDateWithMoment(plan::CompareOp op, plan::ExprPtr& column, DateTime moment);

// The same operator with its sides swapped: a < b  <=>  b > a.
plan::CompareOp Mirrored(plan::CompareOp op);

}  // namespace engine::translate
