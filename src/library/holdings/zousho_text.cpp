#include "library/holdings/zousho_text.h"

namespace kashidashi::library::holdings {
namespace {

using engine::FieldType;
using engine::Value;

Value DateValue(const std::optional<engine::Date>& day) {
    return day ? Value(*day) : Value();
}

Value TextValue(const std::string& text) {
    return Value(text);
}

}  // namespace

std::vector<RowsColumn> BookHitColumns() {
    return {{"BOOK_ID", {FieldType::Integer}, "図書番号", "0000000"},
            {"syomei2", {FieldType::String, 60}, "書名", ""},
            {"cyosya", {FieldType::String, 130}, "著作者", ""},
            {"syuppansya", {FieldType::String, 30}, "出版社", ""},
            {"seikyu", {FieldType::String, 14}, "請求記号", ""},
            {"HKN", {FieldType::String, 24}, "保管場所", ""},
            {"tourokubi", {FieldType::Date}, "登録日", ""},
            {"state", {FieldType::String, 40}, "状態", ""}};
}

std::vector<Value> BookHitRow(const BookHit& hit) {
    return {Value(hit.number),         TextValue(hit.title),      TextValue(hit.authors),
            TextValue(hit.publisher),  TextValue(hit.callNumber), TextValue(hit.place),
            DateValue(hit.registered), Value(StateText(hit))};
}

std::vector<RowsColumn> UserListColumns() {
    return {{"NAME_ID", {FieldType::String, 6}, "固定番号", ""},
            {"seito_No", {FieldType::String, 5}, "生徒番号", ""},
            {"NAME", {FieldType::String, 20}, "名前", ""},
            {"syozoku", {FieldType::String, 20}, "所属", ""},
            {"mihenkyakuSU", {FieldType::Integer}, "未返却数", ""}};
}

std::vector<Value> UserListRow(const RollUser& user) {
    return {Value(user.nameId), Value(user.pupilNo), Value(user.name), Value(user.className),
            Value(user.onLoan)};
}

std::vector<RowsColumn> UserBookColumns() {
    return {{"kubun", {FieldType::String, 10}, "区分", ""},
            {"BOOK_ID", {FieldType::Integer}, "図書番号", "0000000"},
            {"syomei2", {FieldType::String, 60}, "書名", ""},
            {"hi", {FieldType::Date}, "貸出日・予約日", ""},
            {"henkyakuyotei", {FieldType::Date}, "返却予定日", ""},
            {"henkyakubi", {FieldType::Date}, "返却日", ""}};
}

std::vector<Value> UserLoanRow(const UserLoan& loan) {
    return {Value(loan.returnedOn ? "返却済み" : "貸出中"),
            Value(loan.book),
            Value(loan.title),
            Value(loan.lentOn),
            Value(loan.due),
            DateValue(loan.returnedOn)};
}

std::vector<Value> UserReservationRow(const UserReservation& reservation) {
    return {Value("予約"),
            Value(reservation.book),
            Value(reservation.title),
            Value(reservation.reservedOn),
            Value(),
            Value()};
}

std::vector<RowsColumn> BookLoanColumns() {
    return {{"NAME_ID", {FieldType::String, 6}, "固定番号", ""},
            {"seitoNo", {FieldType::String, 5}, "生徒番号", ""},
            {"NAME", {FieldType::String, 20}, "名前", ""},
            {"kashidashibi", {FieldType::Date}, "貸出日", ""},
            {"henkyakuyotei", {FieldType::Date}, "返却予定日", ""},
            {"henkyakubi", {FieldType::Date}, "返却日", ""}};
}

std::vector<Value> BookLoanRow(const BookLoan& loan) {
    return {Value(loan.nameId), Value(loan.pupilNo), Value(loan.name),
            Value(loan.lentOn), Value(loan.due),     DateValue(loan.returnedOn)};
}

std::vector<RowsColumn> CodeColumns() {
    return {{"code", {FieldType::String, 20}, "コード", ""},
            {"name", {FieldType::String, 24}, "名前", ""},
            {"used", {FieldType::Integer}, "使っている数", ""}};
}

std::vector<Value> CodeRow(const CodeEntry& entry) {
    return {Value(entry.codeText), Value(entry.name), Value(entry.used)};
}

}  // namespace kashidashi::library::holdings
