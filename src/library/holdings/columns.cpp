#include "library/holdings/columns.h"

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "exchange/cell_convert.h"
#include "platform/cp932.h"

namespace kashidashi::library::holdings {

const std::vector<ColumnLabel>& BookColumns() {
    static const std::vector<ColumnLabel> columns{
        {"BOOK_ID", "図書番号"},   {"tourokubi", "登録日"},
        {"ISBN", "ISBN"},          {"syomei2", "書名"},
        {"key1", "書名ﾌﾘｶﾞﾅ"},     {"syomei3", "副書名"},
        {"syomei1", "シリーズ名"}, {"cyosya1", "著作者１"},
        {"cyosya2", "著作者２"},   {"cyosya3", "著作者３"},
        {"cyosya4", "著作者４"},   {"key2", "著者ﾌﾘｶﾞﾅ"},
        {"syuppansya", "出版社"},  {"syuppannen", "出版年"},
        {"ookisa", "大きさ"},      {"pageSuu", "ページ数"},
        {"kakaku", "価格"},        {"seikyu", "請求記号"},
        {"NDC_ID", "分類コード"},  {"yobi1_ID", "類"},
        {"HKN_ID", "保管場所"},    {"ZAIGEN_ID", "購入財源"},
        {"UKEIRE_ID", "受入先"},   {"kintaiF", "禁帯"},
        {"heikaF", "閉架"},        {"biko", "備考"},
        {"kenmei1", "内容紹介"},   {"URL", "URL"},
    };
    return columns;
}

const std::vector<ColumnLabel>& UserColumns() {
    static const std::vector<ColumnLabel> columns{
        {"NAME_ID", "固定番号"}, {"seito_No", "生徒番号"}, {"NAME", "名前"},
        {"syozoku_ID", "所属"},  {"sex", "性別"},          {"Seito_NO2", "第二生徒番号"},
        {"PostNo", "郵便番号"},  {"Adress", "住所"},       {"Tel", "電話番号"},
    };
    return columns;
}

std::string LabelOf(const std::string& column) {
    for (const auto* list : {&BookColumns(), &UserColumns()})
        for (const auto& c : *list)
            if (engine::SameName(c.column, column)) return c.label;
    return column;
}

engine::storage::TableSchema LayoutOf(engine::storage::Connection& connection,
                                      const std::string& table) {
    auto layout = connection.DescribeTable(table);
    if (!layout) throw engine::EngineError::Make(engine::err::kTableMissing, table);
    return *layout;
}

engine::Value ColumnValue(const engine::storage::TableSchema& table, const std::string& column,
                          const std::string& text) {
    auto index = table.FindColumn(column);
    if (!index) throw Refused("列「" + column + "」は " + table.name + " 表にありません");
    const auto& def = table.columns[*index];
    const std::string label = LabelOf(def.name);
    if (engine::IsTextType(def.type.type) && def.type.size > 0 &&
        platform::Cp932ByteLength(text) > static_cast<size_t>(def.type.size))
        throw Refused(label + "が長すぎます（" + std::to_string(def.type.size) +
                      "バイトまで、全角は1文字2バイト）");
    auto cell = exchange::ConvertCell(def, text);
    if (!cell.ok()) throw Refused(label + ": " + cell.error);
    return cell.value;
}

std::string DisplayText(const engine::Value& value) {
    if (value.IsNull()) return "";
    return engine::ValueText(value);
}

}  // namespace kashidashi::library::holdings
