// Reading the roll: a user, a search, a user's loans and reservations.
#include <QString>
#include <algorithm>

#include "data/search_fold.h"
#include "library/affiliation.h"
#include "library/holdings/roll.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

constexpr const char* kUserColumns =
    "Select NAME_ID, seito_No, NAME, syozoku_ID, sex, Seito_NO2, PostNo, Adress, Tel, "
    "mihenkyakuSU From Name";

RollUser UserOf(const engine::storage::Row& row, const std::map<int64_t, std::string>& classes) {
    const auto& v = row.values;
    RollUser user;
    user.nameId = TextOf(v[0]);
    user.pupilNo = TextOf(v[1]);
    user.name = TextOf(v[2]);
    if (!v[3].IsNull()) {
        user.classCode = IntegerOf(v[3]);
        auto it = classes.find(*user.classCode);
        user.className = it != classes.end() ? it->second : std::to_string(*user.classCode);
    }
    user.sex = v[4].IsNull() ? "" : std::to_string(IntegerOf(v[4]));
    user.pupilNo2 = TextOf(v[5]);
    user.postNo = TextOf(v[6]);
    user.address = TextOf(v[7]);
    user.tel = TextOf(v[8]);
    user.onLoan = static_cast<int>(IntegerOf(v[9]));
    return user;
}

std::optional<RollUser> FirstUser(Connection& connection, const std::string& where,
                                  const Value& value) {
    auto rows = SelectRows(connection, std::string(kUserColumns) + " Where " + where + "=:PM1",
                           {{"pm1", value}});
    if (rows.rows.empty()) return std::nullopt;
    return UserOf(rows.rows.front(), ReadAffiliations(connection));
}

bool Matches(const QStringList& fields, const QString& word, bool startsWith) {
    for (const auto& field : fields)
        if (startsWith ? field.startsWith(word) : field.contains(word)) return true;
    return false;
}

std::vector<UserLoan> Loans(Connection& connection, const std::string& nameId, bool openOnly) {
    std::string text =
        "Select kashibo.BOOK_ID, Book.syomei2, kashibo.kashidashibi, kashibo.henkyakuyotei,"
        " kashibo.henkyakubi From kashibo"
        " Left Join Book On Book.BOOK_ID = kashibo.BOOK_ID Where kashibo.NAME_ID=:PM1";
    if (openOnly) text += " And kashibo.kashidashiF='1'";
    auto rows = SelectRows(connection, text, {{"pm1", Value(nameId)}});
    std::vector<UserLoan> loans;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        loans.push_back({IntegerOf(v[0]), TextOf(v[1]), DateOf(v[2]).value_or(engine::Date{}),
                         DateOf(v[3]).value_or(engine::Date{}), DateOf(v[4])});
    }
    return loans;
}

}  // namespace

std::optional<RollUser> ReadUser(Connection& connection, const std::string& nameId) {
    return FirstUser(connection, "NAME_ID", Value(nameId));
}

std::optional<RollUser> UserOfPupilNumber(Connection& connection, const std::string& pupilNo) {
    if (pupilNo.empty()) return std::nullopt;
    return FirstUser(connection, "seito_No", Value(pupilNo));
}

std::vector<RollUser> SearchUsers(Connection& connection, const std::string& query,
                                  std::optional<int64_t> classCode, bool startsWith) {
    const auto classes = ReadAffiliations(connection);
    const QStringList words = SearchWords(QString::fromStdString(query));
    auto rows = classCode
                    ? SelectRows(connection, std::string(kUserColumns) + " Where syozoku_ID=:PM1",
                                 {{"pm1", Value(*classCode)}})
                    : SelectRows(connection, kUserColumns);
    std::vector<RollUser> found;
    for (const auto& row : rows.rows) {
        RollUser user = UserOf(row, classes);
        const QStringList fields{FoldForSearch(QString::fromStdString(user.name)),
                                 QString::fromStdString(user.pupilNo),
                                 QString::fromStdString(user.nameId),
                                 FoldForSearch(QString::fromStdString(user.className))};
        if (std::all_of(words.begin(), words.end(),
                        [&](const QString& w) { return Matches(fields, w, startsWith); }))
            found.push_back(std::move(user));
    }
    std::stable_sort(found.begin(), found.end(), [](const RollUser& a, const RollUser& b) {
        const int64_t ca = a.classCode.value_or(INT64_MAX), cb = b.classCode.value_or(INT64_MAX);
        if (ca != cb) return ca < cb;
        if (a.pupilNo != b.pupilNo) return a.pupilNo < b.pupilNo;
        return a.nameId < b.nameId;
    });
    return found;
}

std::vector<UserLoan> OpenLoans(Connection& connection, const std::string& nameId) {
    auto loans = Loans(connection, nameId, true);
    std::stable_sort(loans.begin(), loans.end(),
                     [](const UserLoan& a, const UserLoan& b) { return a.lentOn < b.lentOn; });
    return loans;
}

std::vector<UserLoan> ReadingHistory(Connection& connection, const std::string& nameId) {
    auto loans = Loans(connection, nameId, false);
    std::stable_sort(loans.begin(), loans.end(),
                     [](const UserLoan& a, const UserLoan& b) { return a.lentOn > b.lentOn; });
    return loans;
}

std::vector<UserReservation> ReservationsOf(Connection& connection, const std::string& nameId) {
    auto rows =
        SelectRows(connection,
                   "Select yoyaku.Book_ID, Book.syomei2, yoyaku.yoyakubi From yoyaku Left Join Book"
                   " On Book.BOOK_ID = yoyaku.Book_ID Where yoyaku.Name_ID=:PM1",
                   {{"pm1", Value(nameId)}});
    std::vector<UserReservation> reservations;
    for (const auto& row : rows.rows)
        reservations.push_back({IntegerOf(row.values[0]), TextOf(row.values[1]),
                                DateOf(row.values[2]).value_or(engine::Date{})});
    return reservations;
}

}  // namespace kashidashi::library::holdings
