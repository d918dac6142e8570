#include "data/field_specs.h"

#include <string>

namespace kashidashi {

using engine::FieldType;

engine::TField& AddTypedField(engine::TDataSet& dataSet, FieldType type, const char* name,
                              int size) {
    switch (type) {
        case FieldType::Integer:
            return dataSet.AddField<engine::TIntegerField>(name);
        case FieldType::Smallint:
            return dataSet.AddField<engine::TSmallintField>(name);
        case FieldType::AutoInc:
            return dataSet.AddField<engine::TAutoIncField>(name);
        case FieldType::Float:
            return dataSet.AddField<engine::TFloatField>(name);
        case FieldType::Currency:
            return dataSet.AddField<engine::TCurrencyField>(name);
        case FieldType::Boolean:
            return dataSet.AddField<engine::TBooleanField>(name);
        case FieldType::Date:
            return dataSet.AddField<engine::TDateField>(name);
        case FieldType::DateTime:
            return dataSet.AddField<engine::TDateTimeField>(name);
        case FieldType::String:
            return dataSet.AddField<engine::TStringField>(name, size);
        case FieldType::Memo:
            return dataSet.AddField<engine::TMemoField>(name);
    }
    return dataSet.AddField<engine::TField>(name, type, size);
}

engine::TField& AddField(engine::TDataSet& dataSet, const FieldSpec& declared) {
    engine::TField& field = AddTypedField(dataSet, declared.type, declared.name, declared.size);
    if (*declared.label) field.SetDisplayLabel(declared.label);
    field.DisplayFormat = declared.format;
    return field;
}

void AddFields(engine::TDataSet& dataSet, std::initializer_list<FieldSpec> specs) {
    for (const FieldSpec& declared : specs) AddField(dataSet, declared);
}

void AddCalculatedField(engine::TDataSet& dataSet, const char* name, int size, const char* label) {
    AddField(dataSet, {name, FieldType::String, size, label}).fieldKind =
        engine::FieldKind::fkCalculated;
}

void AddNumberedFields(engine::TDataSet& dataSet, const char* prefix, FieldType type, int size) {
    for (int i = 1; i <= 10; ++i) {
        const std::string name = prefix + std::to_string(i);
        AddTypedField(dataSet, type, name.c_str(), size);
    }
}

}  // namespace kashidashi
