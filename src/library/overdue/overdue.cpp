#include "library/overdue/overdue.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

// Loans lent by :PM1, due before it and not returned by it, with the
// borrower, the class and the title.
constexpr const char* kOverdueStatement =
    "Select kashibo.BOOK_ID, kashibo.NAME_ID, kashibo.seitoNo, kashibo.kashidashibi,"
    " kashibo.henkyakuyotei, Name.NAME_ID, Name.seito_No, Name.NAME, Name.syozoku_ID,"
    " Book.syomei2 From kashibo"
    " Left Join Name On kashibo.NAME_ID=Name.NAME_ID"
    " Left Join Book On kashibo.BOOK_ID=Book.BOOK_ID"
    " Where kashibo.henkyakuyotei<:PM1"
    " and (kashibo.kashidashibi is Null or kashibo.kashidashibi<=:PM1)"
    " and (kashibo.kashidashiF='1' or kashibo.henkyakubi>:PM1)";

OverdueLoan LoanOf(const engine::storage::Row& row, engine::Date day,
                   const std::map<int64_t, std::string>& classes) {
    const auto& v = row.values;
    OverdueLoan loan;
    loan.book = IntegerOf(v[0]);
    loan.nameId = TextOf(v[1]);
    const bool known = !v[5].IsNull();  // the borrower is still in Name
    loan.pupilNo = known ? TextOf(v[6]) : TextOf(v[2]);
    loan.lentOn = DateOf(v[3]).value_or(engine::Date{});
    loan.due = DateOf(v[4]).value_or(engine::Date{});
    loan.name = TextOf(v[7]);
    if (known && !v[8].IsNull()) {
        loan.classCode = IntegerOf(v[8]);
        auto it = classes.find(*loan.classCode);
        loan.className = it != classes.end() ? it->second : std::to_string(*loan.classCode);
        loan.staff = it != classes.end() && IsStaffAffiliation(it->second);
    }
    loan.title = TextOf(v[9]);
    loan.daysOverdue = day.days - loan.due.days;
    return loan;
}

bool Passes(const OverdueLoan& loan, const OverdueFilter& filter) {
    switch (filter.kind) {
        case OverdueFilter::Kind::Class:
            return loan.classCode == filter.classCode;
        case OverdueFilter::Kind::Staff:
            return loan.staff;
        default:
            return true;
    }
}

auto OrderKey(const OverdueLoan& loan) {
    return std::make_tuple(!loan.classCode.has_value(), loan.classCode.value_or(0), loan.pupilNo,
                           loan.due.days, loan.book);
}

}  // namespace

std::vector<OverdueLoan> OverdueLoans(engine::storage::Connection& connection, engine::Date day,
                                      const OverdueFilter& filter) {
    auto classes = ReadAffiliations(connection);
    auto rows = SelectRows(connection, kOverdueStatement, {{"pm1", engine::Value(day)}});
    std::vector<OverdueLoan> loans;
    for (const auto& row : rows.rows) {
        auto loan = LoanOf(row, day, classes);
        if (Passes(loan, filter)) loans.push_back(std::move(loan));
    }
    std::sort(loans.begin(), loans.end(),
              [](const auto& a, const auto& b) { return OrderKey(a) < OrderKey(b); });
    return loans;
}

std::vector<std::string> OverdueTitles() {
    return {"所属", "生徒番号", "名前", "図書番号", "書名", "貸出日", "返却予定日", "延滞日数"};
}

std::vector<std::string> OverdueTexts(const OverdueLoan& loan) {
    char book[24];
    std::snprintf(book, sizeof book, "%07lld", static_cast<long long>(loan.book));
    return {loan.className,
            loan.pupilNo,
            loan.name,
            book,
            loan.title,
            engine::FormatDate(loan.lentOn),
            engine::FormatDate(loan.due),
            std::to_string(loan.daysOverdue)};
}

}  // namespace kashidashi::library
