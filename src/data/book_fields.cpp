#include "data/book_fields.h"

#include "data/field_specs.h"

namespace kashidashi {
namespace {

using engine::FieldType;

void AddTitleAndAuthors(engine::TDBTable& book) {
    AddFields(book, {{"BOOK_ID", FieldType::Integer, 0, "図書番号", "000000#"},
                     {"tourokubi", FieldType::Date, 0, "登録日", "yyyy/mm/dd"},
                     {"syomei1", FieldType::String, 60, "シリーズ名"},
                     {"syomei2", FieldType::String, 60, "書名"},
                     {"syomei3", FieldType::String, 60, "副書名"},
                     {"cyosya1", FieldType::String, 30, "著作者１"},
                     {"cyosya2", FieldType::String, 30, "著作者２"},
                     {"cyosya3", FieldType::String, 30, "著作者３"},
                     {"cyosya4", FieldType::String, 30, "著作者４"},
                     {"NDC_ID", FieldType::Float, 0, "分類コード"},
                     {"kenmei1", FieldType::Memo, 0, "内容紹介"}});
}

void AddCodesAndPublication(engine::TDBTable& book) {
    AddFields(book, {{"HKN_ID", FieldType::Integer, 0, "保管場所コード"},
                     {"ZAIGEN_ID", FieldType::Integer, 0, "購入財源コード"},
                     {"UKEIRE_ID", FieldType::Integer, 0, "受入先コード"},
                     {"syuppansya", FieldType::String, 30, "出版社"},
                     {"syuppannen", FieldType::String, 14, "出版年"},
                     {"ookisa", FieldType::String, 15, "大きさ"},
                     {"pageSuu", FieldType::String, 10, "ページ数"},
                     {"kakaku", FieldType::Currency, 0, "価格", "#"},
                     {"seikyu", FieldType::String, 14, "請求記号"},
                     {"biko", FieldType::String, 10, "備考"}});
}

void AddFlagsAndKeys(engine::TDBTable& book) {
    AddFields(book, {{"kashidashiF", FieldType::Boolean, 0, "貸出フラグ"},
                     {"yoyakuF", FieldType::Boolean, 0, "予約フラグ"},
                     {"kintaiF", FieldType::Boolean, 0, "禁帯フラグ"},
                     {"heikaF", FieldType::Boolean, 0, "閉架フラグ"},
                     {"tenkenF", FieldType::Boolean, 0, "点検フラグ"},
                     {"haikiF", FieldType::Boolean, 0, "廃棄フラグ"},
                     {"key1", FieldType::String, 30, "ｼｮﾒｲﾌﾘｶﾞﾅ"},
                     {"key2", FieldType::String, 30, "ｼｮｼｬﾌﾘｶﾞﾅ"},
                     // Declared 13 wide although the column holds 15.
                     {"ISBN", FieldType::String, 13}});
}

void AddSpareAndComputed(engine::TDBTable& book) {
    AddFields(book, {{"yobi1_ID", FieldType::Integer},
                     {"yobi2_ID", FieldType::Integer},
                     {"yobi3_ID", FieldType::Integer},
                     {"yobi4_ID", FieldType::Integer},
                     {"yobi5_ID", FieldType::Integer},
                     {"haiki_date", FieldType::Date}});
    AddCalculatedField(book, "ISBN2", 15, "ISBN1(3桁)");
    AddField(book, {"URL", FieldType::String, 100});
    AddCalculatedField(book, "Phaiki", 10, "廃棄");
    AddCalculatedField(book, "Pkintai", 10, "禁帯");
    AddField(book, {"sakujoF", FieldType::Boolean});
}

}  // namespace

void DeclareBookFields(engine::TDBTable& book) {
    AddTitleAndAuthors(book);
    AddCodesAndPublication(book);
    AddFlagsAndKeys(book);
    AddSpareAndComputed(book);
}

}  // namespace kashidashi
