// The on-loan check of the return tab (Enter in Edit20): one message says
// whether the book of a number is out and with whom, on the shelf, or
// unknown. The number is read as it stands: no ISBN form, no length rules.
#include <QString>
#include <algorithm>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "desk/desk_reservation.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr int64_t kLargestInteger = 2147483647;

void AddLookup(engine::TDBQuery& query, const char* name, int size, const char* key,
               const char* result) {
    engine::TField& field = query.AddField<engine::TStringField>(name, size);
    field.fieldKind = engine::FieldKind::fkLookup;
    field.KeyFields = key;
    field.LookupKeyFields = key;
    field.LookupResultField = result;
}

}  // namespace

int64_t WholeNumberOr(const std::string& digits, int64_t fallback) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return fallback;
    const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - first > 10) return fallback;
    const int64_t value = first == digits.size() ? 0 : std::stoll(digits.substr(first));
    return value <= kLargestInteger ? value : fallback;
}

void DeclareOnLoanCheck(engine::TDBQuery& kakuninQry, engine::TDBQuery& kakuninQry2) {
    for (engine::TDBQuery* query : {&kakuninQry, &kakuninQry2}) {
        OnDataDatabase(*query);
    }
    kakuninQry.RequestLive = true;
    kakuninQry.AddField<engine::TIntegerField>("BOOK_ID");
    kakuninQry.AddField<engine::TStringField>("NAME_ID", 6);
    kakuninQry.AddField<engine::TDateField>("henkyakuyotei");
    kakuninQry.AddField<engine::TStringField>("kashidashiF", 1);
    kakuninQry.AddField<engine::TStringField>("seitoNo", 5);
    kakuninQry.AddField<engine::TDateField>("kashidashibi");
    kakuninQry.AddField<engine::TDateField>("henkyakubi");
    kakuninQry.AddField<engine::TStringField>("ISBN_ID", 15);
    // Their data sets, the data module's BOOK and NAME, are set at each check.
    AddLookup(kakuninQry, "PBook", 60, "BOOK_ID", "syomei2");
    AddLookup(kakuninQry, "PName", 20, "NAME_ID", "NAME");
    kakuninQry2.SQL().Add("Select * From Book");
    kakuninQry2.SQL().Add(" Where Book_ID=:PM1");
}

void Desk::OnLoanCheck() {
    std::string& edit20 = state.Text(DeskEdit::Edit20);
    edit20 = Digits(edit20);
    const std::string text = OnLoanText(WholeNumberOr(edit20, -1));
    edit20.clear();
    Dialogs::Information(owner_, QString::fromStdString(text));
}

// The answer for the book of the number: lent, and to whom, or not.
std::string Desk::OnLoanText(int64_t number) {
    auto& dm = TDM::Instance();
    DataSetCloser closeLoan(kakuninQry), closeBooks(dm.BOOK), closeUsers(dm.NAME);
    kakuninQry.Close();
    kakuninQry.SQL().Clear();
    kakuninQry.SQL().Add("Select * From kashibo  where kashidashiF=\"1\" and BOOK_ID=:PM1 ");
    kakuninQry.ParamByName("PM1").SetAsInteger(number);
    kakuninQry.FieldByName("PBook").LookupDataSet = &dm.BOOK;
    kakuninQry.FieldByName("PName").LookupDataSet = &dm.NAME;
    kakuninQry.Open();
    if (kakuninQry.IsEmpty()) return ShelfText(number);
    dm.BOOK.Open();  // the lookup fields read the title and the name there
    dm.NAME.Open();
    return "この本の書名は  " + kakuninQry.FieldByName("PBook").AsString() + "  で、 " +
           kakuninQry.FieldByName("seitoNo").AsString() +
           kakuninQry.FieldByName("PName").AsString() + " さんに貸出中です。";
}

std::string Desk::ShelfText(int64_t number) {
    DataSetCloser closer(kakuninQry2);
    kakuninQry2.Close();
    kakuninQry2.ParamByName("PM1").SetAsInteger(number);
    kakuninQry2.Open();
    if (kakuninQry2.IsEmpty()) return "この本は登録されていません。";
    return "この本の書名は  " + kakuninQry2.FieldByName("syomei2").AsString() +
           "  で貸出中ではありません。";
}

}  // namespace kashidashi::desk
