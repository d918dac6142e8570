// Fields: the named, typed windows through which the application reads and
// writes the current row of a data set.
//
// A data field reads its column of the current row; writing it converts the
// value by the storage rules (value_convert.h) and is allowed only while the
// data set edits or inserts. A calculated field holds the value its data set's
// OnCalcFields handler gives it for the current row. A lookup field reads
// LookupResultField from the row of LookupDataSet whose LookupKeyFields equal
// this row's KeyFields, and is empty when that data set is closed or has no
// such row. Reading a NULL, or a field of a data set without a current row,
// gives "", 0, false or the date-time value 0.
//
// Fields are owned by their data set.
#pragma once

#include <string>

#include "engine/common/field_type.h"
#include "engine/common/value.h"

namespace engine {

class TDataSet;

enum class FieldKind { fkData, fkCalculated, fkLookup };

class TField {
  public:
    TField(std::string fieldName, FieldType type, int size = 0);
    virtual ~TField() = default;

    const std::string& FieldName() const { return name_; }
    FieldType DataType() const { return type_.type; }
    int Size() const { return type_.size; }
    ColumnType Type() const { return type_; }
    TDataSet& DataSet() const { return *dataSet_; }
    int Index() const { return index_; }

    FieldKind fieldKind = FieldKind::fkData;
    std::string DisplayFormat;  // "000000#" for numbers, "yyyy/mm/dd" for dates
    int DisplayWidth = 0;       // in characters; 0: from the size
    bool Visible = true;
    bool ReadOnly = false;
    // Lookup fields.
    std::string KeyFields;
    TDataSet* LookupDataSet = nullptr;
    std::string LookupKeyFields;
    std::string LookupResultField;

    std::string DisplayLabel() const { return label_.empty() ? name_ : label_; }
    void SetDisplayLabel(std::string label) { label_ = std::move(label); }

    Value GetValue() const;
    void SetValue(const Value& value);
    bool IsNull() const { return GetValue().IsNull(); }
    void Clear() { SetValue(Value()); }

    std::string AsString() const;
    void SetAsString(const std::string& text) { SetValue(Value(text)); }
    int64_t AsInteger() const;
    void SetAsInteger(int64_t value) { SetValue(Value(value)); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(Value(value)); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(Value(value)); }
    DateTime AsDateTime() const;
    void SetAsDateTime(DateTime value) { SetValue(Value(value)); }
    // The text a grid shows: AsString shaped by DisplayFormat.
    std::string DisplayText() const;

  private:
    friend class TDataSet;
    void Attach(TDataSet* dataSet, int index, int column);
    Value LookupValue() const;

    std::string name_;
    ColumnType type_;
    std::string label_;
    TDataSet* dataSet_ = nullptr;
    int index_ = -1;
    int column_ = -1;  // data fields: the column of the data set's rows
    Value calcValue_;  // calculated fields
};

#define KX_FIELD_CLASS(Class, Type)                         \
    class Class : public TField {                           \
      public:                                               \
        explicit Class(std::string fieldName, int size = 0) \
            : TField(std::move(fieldName), Type, size) {}   \
    };
KX_FIELD_CLASS(TIntegerField, FieldType::Integer)
KX_FIELD_CLASS(TSmallintField, FieldType::Smallint)
KX_FIELD_CLASS(TAutoIncField, FieldType::AutoInc)
KX_FIELD_CLASS(TFloatField, FieldType::Float)
KX_FIELD_CLASS(TCurrencyField, FieldType::Currency)
KX_FIELD_CLASS(TBooleanField, FieldType::Boolean)
KX_FIELD_CLASS(TDateField, FieldType::Date)
KX_FIELD_CLASS(TDateTimeField, FieldType::DateTime)
KX_FIELD_CLASS(TStringField, FieldType::String)
KX_FIELD_CLASS(TMemoField, FieldType::Memo)
#undef KX_FIELD_CLASS

// Formats a number by a display format of "0" (digit), "#" (digit when
// needed), "," (thousands) and "." (decimals). Every digit place right of the
// leftmost "0" is always shown: "000000#" shows 123 as 0000123, "#" shows 0
// as nothing.
std::string FormatNumber(double value, const std::string& format);

}  // namespace engine
