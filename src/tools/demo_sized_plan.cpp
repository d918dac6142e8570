#include "tools/demo_sized_plan.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kashidashi::admin {
namespace {

// A school library's shelves: stories most, then science, history, arts.
constexpr int kNdcPerMille[10] = {30, 20, 90, 80, 130, 60, 30, 90, 30, 440};
constexpr int kPupilsPerClass = 35;

double Unit(std::mt19937& random) {
    return static_cast<double>(random()) / 4294967296.0;
}

// An index below `count`, the low ones far more often (power > 1): the
// popular titles and the busiest readers.
int64_t Skewed(std::mt19937& random, int64_t count, double power) {
    return std::min<int64_t>(count - 1,
                             static_cast<int64_t>(count * std::pow(Unit(random), power)));
}

int PickNdc(std::mt19937& random) {
    int roll = static_cast<int>(random() % 1000);
    for (int ndc = 0; ndc < 10; ++ndc) {
        if (roll < kNdcPerMille[ndc]) return ndc;
        roll -= kNdcPerMille[ndc];
    }
    return 9;
}

// Most titles have one copy; class sets and favourites have up to five.
int PickCopies(std::mt19937& random) {
    const int roll = static_cast<int>(random() % 100);
    return roll < 72 ? 1 : roll < 89 ? 2 : roll < 96 ? 3 : roll < 99 ? 4 : 5;
}

void PlanBooks(DemoPlan& plan, int64_t books, int32_t today, std::mt19937& random) {
    int perClass[10] = {};
    const int32_t oldest = today - kSchoolYears * 365;
    while (static_cast<int64_t>(plan.books.size()) < books) {
        PlanTitle t;
        t.ndc = PickNdc(random);
        t.text = perClass[t.ndc]++;
        t.author = static_cast<int>(random() % 5000);
        t.publisher = static_cast<int>(random() % 60);
        // One title in a hundred came in the last three weeks; the rest before the loans.
        t.registered = random() % 100 == 0 ? today - static_cast<int32_t>(random() % 21)
                                           : oldest - 30 - static_cast<int32_t>(random() % 3000);
        t.firstBook = static_cast<int64_t>(plan.books.size());
        t.copies = static_cast<int>(
            std::min<int64_t>(PickCopies(random), books - static_cast<int64_t>(plan.books.size())));
        const auto title = static_cast<int32_t>(plan.titles.size());
        for (int copy = 0; copy < t.copies; ++copy) {
            PlanBook book{title};
            book.reference = t.ndc == 0 && title % 3 == 0;
            book.discarded = !book.reference && random() % 200 == 0;
            plan.books.push_back(book);
        }
        plan.titles.push_back(t);
    }
}

// A copy of a popular title that may be lent now (not a reference book, not
// discarded, not out); -1 after a few tries.
int32_t PickLendable(const DemoPlan& plan, std::mt19937& random) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const auto& t = plan.titles[Skewed(random, plan.titles.size(), 2.5)];
        const int64_t book = t.firstBook + random() % t.copies;
        const auto& b = plan.books[book];
        if (!b.reference && !b.discarded && !b.lent) return static_cast<int32_t>(book);
    }
    return -1;
}

// Returned within three weeks; a loan whose return would fall on or after
// today is still out, and one in a thousand older ones was never returned
// (overdue), as long as the user holds fewer than five.
void PlanLoan1(DemoPlan& plan, int32_t lentOn, int32_t today, std::mt19937& random) {
    const int32_t book = PickLendable(plan, random);
    if (book < 0) return;
    const auto users = static_cast<int32_t>(plan.userOpen.size());
    PlanLoan loan{book, static_cast<int32_t>(Skewed(random, users, 1.3)), lentOn,
                  lentOn + 1 + static_cast<int32_t>(random() % 20)};
    const bool forgotten = random() % 1000 == 0;
    if ((loan.returnedOn >= today || forgotten) && plan.userOpen[loan.user] < kMaxOpenLoans) {
        loan.returnedOn = 0;
        plan.books[book].lent = true;
        ++plan.userOpen[loan.user];
    } else {
        loan.returnedOn = std::min(loan.returnedOn, today);
    }
    plan.loans.push_back(loan);
}

void PlanLoans(DemoPlan& plan, int64_t loans, int32_t today, std::mt19937& random) {
    const int64_t span = kSchoolYears * 365;
    plan.loans.reserve(loans);
    for (int64_t i = 0; static_cast<int64_t>(plan.loans.size()) < loans && i < 4 * loans; ++i)
        PlanLoan1(plan, static_cast<int32_t>(today - span + plan.loans.size() * span / loans),
                  today, random);
}

// Queued on the most wanted titles, on a copy that is out when one is.
void PlanReservations(DemoPlan& plan, int64_t count, int32_t today, std::mt19937& random) {
    std::map<int32_t, int32_t> queued;  // book -> reservations so far
    const auto users = static_cast<int32_t>(plan.userOpen.size());
    for (int64_t i = 0; i < count; ++i) {
        const auto& t = plan.titles[Skewed(random, plan.titles.size(), 4.0)];
        int64_t book = t.firstBook;
        for (int copy = 0; copy < t.copies; ++copy)
            if (plan.books[t.firstBook + copy].lent) book = t.firstBook + copy;
        plan.books[book].reserved = true;
        const auto user = static_cast<int32_t>(random() % users);
        const int32_t number = ++queued[static_cast<int32_t>(book)];
        plan.reservations.push_back({static_cast<int32_t>(book), user, number,
                                     today - static_cast<int32_t>(random() % 14)});
    }
}

}  // namespace

DemoPlan PlanSchool(const DemoSizes& sizes, int32_t today, std::mt19937& random) {
    DemoPlan plan;
    plan.staff = std::max<int64_t>(1, sizes.users / 30);
    plan.pupils = sizes.users - plan.staff;
    plan.groupsPerGrade =
        std::max<int64_t>(1, (plan.pupils + 6 * kPupilsPerClass / 2) / (6 * kPupilsPerClass));
    plan.userOpen.assign(sizes.users, 0);
    PlanBooks(plan, sizes.books, today, random);
    PlanLoans(plan, sizes.loans, today, random);
    PlanReservations(plan, sizes.reservations, today, random);
    return plan;
}

}  // namespace kashidashi::admin
