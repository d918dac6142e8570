#include "library/backup/check_rules.h"

#include <cstdio>
#include <set>

namespace kashidashi::library {
namespace {

std::string LentText(bool lent) {
    return lent ? "貸出中" : "貸出中でない";
}

std::string LoanText(const OpenLoan& loan) {
    return "図書番号 " + BookNumber(loan.book) + "、利用者 " + loan.user + "、貸出日 " +
           (loan.lentOn.empty() ? "なし" : loan.lentOn);
}

void CheckLoans(const CheckData& data, CheckFindings& found,
                std::map<int64_t, std::vector<const OpenLoan*>>& byBook) {
    for (const auto& loan : data.openLoans) {
        byBook[loan.book].push_back(&loan);
        found.userCounts[loan.user] += 1;
        if (!data.books.count(loan.book))
            found.unmendable.push_back("[貸出の図書なし] 未返却の貸出（" + LoanText(loan) +
                                       "）の図書がありません");
        if (!data.users.count(loan.user))
            found.unmendable.push_back("[貸出の利用者なし] 未返却の貸出（" + LoanText(loan) +
                                       "）の利用者がありません");
    }
}

void CheckDoubleLoans(const std::map<int64_t, std::vector<const OpenLoan*>>& byBook,
                      CheckFindings& found) {
    for (const auto& [book, loans] : byBook) {
        if (loans.size() < 2) continue;
        std::string text = "[二重貸出] 図書番号 " + BookNumber(book) + " に未返却の貸出が " +
                           std::to_string(loans.size()) + " 件あります（";
        for (size_t i = 0; i < loans.size(); ++i)
            text += (i ? "、" : "") + ("利用者 " + loans[i]->user + " " + loans[i]->lentOn);
        found.unmendable.push_back(text + "）");
    }
}

void CheckBookFlags(const CheckData& data,
                    const std::map<int64_t, std::vector<const OpenLoan*>>& byBook,
                    CheckFindings& found) {
    for (const auto& [book, stored] : data.books) {
        auto loans = byBook.find(book);
        size_t open = loans == byBook.end() ? 0 : loans->second.size();
        if (stored.lent == (open > 0)) continue;
        found.bookFlags[book] = open > 0;
        found.mendable.push_back("[貸出フラグ] 図書番号 " + BookNumber(book) + " の貸出フラグは" +
                                 LentText(stored.lent) + "ですが、未返却の貸出は " +
                                 std::to_string(open) + " 件です");
    }
}

void CheckUserCounts(const CheckData& data, CheckFindings& found) {
    std::map<std::string, int64_t> differing;
    for (const auto& [user, stored] : data.users) {
        auto counted = found.userCounts.find(user);
        int64_t open = counted == found.userCounts.end() ? 0 : counted->second;
        if (stored.unreturned == open) continue;
        differing[user] = open;
        found.mendable.push_back("[未返却数] 利用者 " + user + " の未返却数は " +
                                 std::to_string(stored.unreturned) + " ですが、未返却の貸出は " +
                                 std::to_string(open) + " 件です");
    }
    found.userCounts = std::move(differing);
}

void CheckReservations(const CheckData& data, CheckFindings& found) {
    for (const auto& r : data.reservations) {
        std::string what = "予約（図書番号 " + BookNumber(r.book) + "、予約番号 " +
                           std::to_string(r.number) + "、利用者 " + r.user + "）";
        if (!data.books.count(r.book))
            found.unmendable.push_back("[予約の図書なし] " + what + "の図書がありません");
        if (!data.users.count(r.user))
            found.unmendable.push_back("[予約の利用者なし] " + what + "の利用者がありません");
    }
}

// A book is reserved, as the desk sees it, while a reservation names its
// number or (a reservation of the title) its ISBN.
void CheckReservedFlags(const CheckData& data, CheckFindings& found) {
    std::set<int64_t> books;
    std::set<std::string> titles;
    for (const auto& r : data.reservations) {
        books.insert(r.book);
        if (!r.isbn.empty()) titles.insert(r.isbn);
    }
    for (const auto& [book, stored] : data.books) {
        if (!stored.reserved || books.count(book)) continue;
        if (!stored.isbn12.empty() && titles.count(stored.isbn12)) continue;
        found.reservedFlags.push_back(book);
        found.mendable.push_back("[予約フラグ] 図書番号 " + BookNumber(book) +
                                 " は予約ありの印がついていますが、予約はありません");
    }
}

}  // namespace

std::string BookNumber(int64_t book) {
    char text[24];
    std::snprintf(text, sizeof text, "%07lld", static_cast<long long>(book));
    return text;
}

CheckFindings FindProblems(const CheckData& data) {
    CheckFindings found;
    std::map<int64_t, std::vector<const OpenLoan*>> byBook;
    CheckLoans(data, found, byBook);
    CheckDoubleLoans(byBook, found);
    CheckBookFlags(data, byBook, found);
    CheckUserCounts(data, found);
    CheckReservations(data, found);
    CheckReservedFlags(data, found);
    return found;
}

}  // namespace kashidashi::library
