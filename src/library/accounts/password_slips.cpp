#include "library/accounts/password_slips.h"

#include "library/accounts/web_accounts.h"
#include "library/affiliation.h"
#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::accounts {

std::vector<PasswordSlip> IssueSlips(engine::storage::Connection& connection,
                                     const std::vector<library::CardUser>& users,
                                     engine::DateTime now,
                                     const std::function<void(size_t done)>& progress) {
    const int mode = library::ReadUserNumberMode(connection);
    std::vector<PasswordSlip> slips;
    for (const auto& user : users) {
        slips.push_back({user, library::CardNumber(user, mode),
                         IssuePassword(connection, user.nameId, now),
                         library::IsStaffAffiliation(user.className)});
        if (progress) progress(slips.size());
    }
    return slips;
}

reports::PreparedReport PasswordSlipsReport(const std::vector<PasswordSlip>& slips,
                                            const std::string& school, const std::string& address) {
    using engine::FieldType;
    using engine::Value;
    const engine::ColumnType text{FieldType::String, 200};
    library::TRowsDataSet data("rptDBDataset1", {{"school", text},
                                                 {"syozoku", text},
                                                 {"name", text},
                                                 {"keisyou", text},
                                                 {"number", text},
                                                 {"password", text},
                                                 {"address", text},
                                                 {"message", {FieldType::Memo}}});
    std::vector<std::vector<Value>> rows;
    for (const auto& slip : slips)
        rows.push_back({Value(school), Value(slip.user.className), Value(slip.user.name),
                        Value(slip.staff ? "様" : "さん"), Value(slip.number), Value(slip.password),
                        Value(address.empty() ? std::string() : "アドレス　" + address),
                        Value(slip.staff ? kStaffSlipMessage : kPupilSlipMessage)});
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    return reports::RenderReport(reports::LoadLayout(QStringLiteral("password_slips")),
                                 {source.get()});
}

}  // namespace kashidashi::accounts
