// The persistent fields of the data module's table objects: names, kinds,
// sizes, display labels and formats, in the order the lists show them.
#include "data/U_DM.h"
#include "data/book_fields.h"
#include "data/field_specs.h"

namespace kashidashi {
namespace {

using engine::FieldType;

void DeclareCodeLists(engine::TDBTable& ndc, engine::TDBTable& hkn) {
    AddField(ndc, {"NDC_ID", FieldType::Float, 0, "NDCコード"}).DisplayWidth = 3;
    AddField(ndc, {"NDC", FieldType::String, 24, "分類名"});
    AddField(hkn, {"HKN_ID", FieldType::Integer, 0, "保管コード"}).DisplayWidth = 3;
    AddField(hkn, {"HKN", FieldType::String, 24, "保管場所"});
}

void DeclareName(engine::TDBTable& name) {
    AddFields(name, {{"NAME_ID", FieldType::String, 6, "固定番号"},
                     {"seito_No", FieldType::String, 5, "生徒番号"},
                     {"sex", FieldType::Smallint, 0, "性別"},
                     {"NAME", FieldType::String, 20, "名前"},
                     {"mihenkyakuSU", FieldType::Smallint, 0, "未返却数"}});
}

void DeclareKashibo(engine::TDBTable& kashibo) {
    AddFields(kashibo, {{"BOOK_ID", FieldType::Integer, 0, "図書番号"},
                        {"NAME_ID", FieldType::String, 6, "固定番号"},
                        {"henkyakuyotei", FieldType::Date, 0, "返却予定日"},
                        {"kashidashiF", FieldType::String, 1, "貸出"},
                        {"seitoNo", FieldType::String, 5, "生徒番号"},
                        {"kashidashibi", FieldType::Date, 0, "貸出日"},
                        {"henkyakubi", FieldType::Date, 0, "返却日"},
                        {"ISBN_ID", FieldType::String, 13}});
}

void DeclareYoyaku(engine::TDBTable& yoyaku) {
    AddFields(yoyaku, {{"Book_ID", FieldType::Integer, 0, "図書番号"},
                       {"yoyaku_No", FieldType::Integer, 0, "予約番号"},
                       {"Name_ID", FieldType::String, 6, "固定番号"},
                       {"Seito_No", FieldType::String, 5, "運用番号"},
                       {"Name", FieldType::String, 20, "氏名"},
                       {"yoyakubi", FieldType::Date, 0, "予約日"},
                       {"ISBN_ID", FieldType::String, 15},
                       {"yoyakuDTime", FieldType::DateTime},
                       {"Memo", FieldType::String, 40}});
}

void DeclareRegist(engine::TDBTable& regist) {
    AddField(regist, {"ID", FieldType::Integer});
    AddNumberedFields(regist, "S", FieldType::String, 50);
    AddNumberedFields(regist, "P", FieldType::Integer, 0);
    AddNumberedFields(regist, "F", FieldType::Float, 0);
    AddNumberedFields(regist, "D", FieldType::Date, 0);
}

}  // namespace

void TDM::DeclareFields() {
    DeclareCodeLists(NDC, HKN);
    DeclareName(NAME);
    DeclareBookFields(BOOK);
    DeclareKashibo(KASHIBO);
    DeclareYoyaku(YOYAKU);
    DeclareRegist(RegistTB);
}

}  // namespace kashidashi
