#include "grid/dataset_rules.h"

#include "engine/dataset/query.h"
#include "engine/dataset/table.h"

namespace kashidashi {

bool CanModify(const engine::TDataSet& dataSet) {
    const auto* table = dynamic_cast<const engine::TDBTable*>(&dataSet);
    return !(table && table->ReadOnly);
}

bool IsPrivateCopy(const engine::TDataSet& dataSet) {
    const auto* query = dynamic_cast<const engine::TDBQuery*>(&dataSet);
    return query && !query->IsLive();
}

int DefaultDisplayChars(const engine::TField& field) {
    using engine::FieldType;
    if (field.DisplayWidth > 0) return field.DisplayWidth;
    switch (field.DataType()) {
        case FieldType::String:
            return field.Size() > 0 ? field.Size() : 20;
        case FieldType::Smallint:
            return 6;
        case FieldType::Integer:
        case FieldType::AutoInc:
            return 11;
        case FieldType::Boolean:
            return 5;
        case FieldType::Date:
            return 10;
        case FieldType::DateTime:
            return 18;
        default:
            return 10;  // Float, Currency, Memo
    }
}

}  // namespace kashidashi
