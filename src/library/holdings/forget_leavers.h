// 図書館の自由: who borrowed what is no one's business once a pupil has
// gone. The loans that came back of users who left (kx_left) at least
// `years` years before `today`, and of fixed numbers that Name no longer
// knows whose last loan came back that long ago, lose the borrower: NAME_ID
// and the pupil number become empty. The books' loan counts (statistics by
// title, month) stay; open loans are never touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

struct ForgetPlan {
    std::vector<std::string> users;  // fixed numbers whose returned loans go
    int64_t loans = 0;               // the loans made anonymous
};

ForgetPlan PlanForgetLeavers(engine::storage::Connection& connection, int years,
                             engine::Date today);
// Does it, in one transaction; the plan as done.
ForgetPlan ForgetLeavers(engine::storage::Connection& connection, int years, engine::Date today);

}  // namespace kashidashi::library::holdings
