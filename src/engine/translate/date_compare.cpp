#include "engine/translate/date_compare.h"

namespace engine::translate {
namespace {

int64_t FloorDays(int64_t msecs) {
    int64_t days = msecs / kMsecsPerDay;
    return msecs % kMsecsPerDay < 0 ? days - 1 : days;
}

}  // namespace

plan::CompareOp Mirrored(plan::CompareOp op) {
    switch (op) {
        case plan::CompareOp::Lt:
            return plan::CompareOp::Gt;
        case plan::CompareOp::Le:
            return plan::CompareOp::Ge;
        case plan::CompareOp::Gt:
            return plan::CompareOp::Lt;
        case plan::CompareOp::Ge:
            return plan::CompareOp::Le;
        default:
            return op;
    }
}

plan::ExprPtr CompareDateWithMoment(plan::CompareOp op, plan::ExprPtr& column, DateTime moment) {
    int64_t floor = FloorDays(moment.msecs);
    bool midnight = floor * kMsecsPerDay == moment.msecs;
    int64_t ceil = midnight ? floor : floor + 1;
    int64_t bound = floor;
    switch (op) {
        case plan::CompareOp::Lt:
        case plan::CompareOp::Ge:
            bound = ceil;
            break;
        case plan::CompareOp::Le:
        case plan::CompareOp::Gt:
            bound = floor;
            break;
        case plan::CompareOp::Eq:
        case plan::CompareOp::Ne:
            if (!midnight) return nullptr;
            break;
    }
    auto date = plan::Make(plan::Literal{Value(Date{static_cast<int32_t>(bound)})});
    return plan::Make(plan::Compare{op, std::move(column), std::move(date)});
}

}  // namespace engine::translate
