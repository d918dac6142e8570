// The roll's checks: fixed and pupil numbers that name one user each, a
// class that exists, texts that fit.
#include <QString>

#include "library/affiliation.h"
#include "library/holdings/columns.h"
#include "library/holdings/roll.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

bool AllDigits(const std::string& text, size_t count) {
    if (text.size() != count) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int64_t NumberOf(const std::string& digits) {
    return AllDigits(digits, digits.size()) && !digits.empty() && digits.size() < 18
               ? std::stoll(digits)
               : 0;
}

void CheckNumbers(Connection& connection, const RollUser& user,
                  const std::optional<RollUser>& before, UserCheck& check) {
    if (!AllDigits(user.nameId, 6))
        check.problems.push_back("固定番号「" + user.nameId + "」は6桁の数字にしてください");
    else if (!before) {
        if (auto holder = ReadUser(connection, user.nameId))
            check.problems.push_back("固定番号 " + user.nameId + " は " + holder->name +
                                     " さんが使っています");
        else if (!SelectRows(connection, "Select BOOK_ID From kashibo Where NAME_ID=:PM1",
                             {{"pm1", Value(user.nameId)}})
                      .rows.empty())
            check.warnings.push_back("固定番号 " + user.nameId +
                                     " は削除された利用者が使っていた番号です（貸出の記録が"
                                     "残っています）。同じ人でなければ別の番号にしてください");
    }
    if (user.pupilNo.empty()) return;
    if (!AllDigits(user.pupilNo, 5)) {
        check.problems.push_back("生徒番号「" + user.pupilNo + "」は5桁の数字にしてください");
        return;
    }
    auto holder = UserOfPupilNumber(connection, user.pupilNo);
    if (holder && holder->nameId != user.nameId)
        check.problems.push_back("生徒番号 " + user.pupilNo + " は " + holder->name +
                                 " さん（固定番号 " + holder->nameId +
                                 "）が使っています。貸出の机は生徒番号で利用者を探すので、"
                                 "同じ番号は使えません");
}

void CheckTexts(const engine::storage::TableSchema& layout, const RollUser& user,
                UserCheck& check) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"NAME", &user.name},     {"sex", &user.sex},        {"Seito_NO2", &user.pupilNo2},
        {"PostNo", &user.postNo}, {"Adress", &user.address}, {"Tel", &user.tel},
    };
    for (const auto& [column, text] : texts) {
        try {
            ColumnValue(layout, column, *text);
        } catch (const Refused& refused) {
            check.problems.push_back(refused.what());
        }
    }
}

}  // namespace

std::string TypedNumber(const std::string& typed) {
    QString text = QString::fromStdString(typed).trimmed();
    for (auto& c : text)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar('0' + (c.unicode() - 0xFF10));
    return text.toStdString();
}

std::string NextFixedNumber(Connection& connection) {
    int64_t highest = 0;
    for (const char* text : {"Select NAME_ID From Name", "Select NAME_ID From kashibo"})
        for (const auto& row : SelectRows(connection, text).rows)
            highest = std::max(highest, NumberOf(TextOf(row.values[0])));
    std::string next = std::to_string(highest + 1);
    if (next.size() < 6) next.insert(0, 6 - next.size(), '0');
    return next;
}

UserCheck CheckUser(Connection& connection, const RollUser& user,
                    const std::optional<RollUser>& before) {
    UserCheck check;
    CheckNumbers(connection, user, before, check);
    if (user.name.empty()) check.problems.push_back("名前を入れてください");
    CheckTexts(LayoutOf(connection, "Name"), user, check);
    if (user.classCode && !ReadAffiliations(connection).count(*user.classCode))
        check.problems.push_back("所属コード " + std::to_string(*user.classCode) +
                                 " はありません（設定のタブで所属を追加できます）");
    return check;
}

}  // namespace kashidashi::library::holdings
