#include "engine/dataset/field.h"

#include <algorithm>
#include <cmath>

#include "engine/common/dates.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/dataset.h"

namespace engine {

TField::TField(std::string fieldName, FieldType type, int size)
    : name_(std::move(fieldName)), type_{type, type == FieldType::String ? size : 0} {}

void TField::Attach(TDataSet* dataSet, int index, int column) {
    dataSet_ = dataSet;
    index_ = index;
    column_ = column;
}

Value TField::LookupValue() const {
    if (!LookupDataSet || !LookupDataSet->Active()) return Value();
    std::vector<Value> keys;
    for (const auto& name : SplitNames(KeyFields))
        keys.push_back(dataSet_->FieldByName(name).GetValue());
    return LookupDataSet->Lookup(LookupKeyFields, keys, LookupResultField);
}

Value TField::GetValue() const {
    switch (fieldKind) {
        case FieldKind::fkCalculated:
            return calcValue_;
        case FieldKind::fkLookup:
            return LookupValue();
        case FieldKind::fkData:
            break;
    }
    if (!dataSet_ || column_ < 0) return Value();
    return dataSet_->ColumnValue(column_);
}

void TField::SetValue(const Value& value) {
    Value stored = ToColumnValue(value, type_, name_);
    if (fieldKind == FieldKind::fkCalculated) {
        calcValue_ = std::move(stored);
        return;
    }
    if (fieldKind == FieldKind::fkLookup || !dataSet_) return;
    dataSet_->SetColumnValue(column_, stored, *this);
}

std::string TField::AsString() const {
    // A stored column is read in place: its text is copied once, not twice.
    if (fieldKind == FieldKind::fkData && dataSet_ && column_ >= 0)
        return ValueText(dataSet_->ColumnValue(column_));
    return ValueText(GetValue());
}

int64_t TField::AsInteger() const {
    Value v = GetValue();
    if (v.IsNull()) return 0;
    return ToColumnValue(v, ColumnType{FieldType::Integer, 0}, name_).Integer();
}

double TField::AsFloat() const {
    Value v = GetValue();
    if (v.IsNull()) return 0;
    return ToColumnValue(v, ColumnType{FieldType::Float, 0}, name_).Float();
}

bool TField::AsBoolean() const {
    Value v = GetValue();
    if (v.IsNull()) return false;
    return ToColumnValue(v, ColumnType{FieldType::Boolean, 0}, name_).Bool();
}

DateTime TField::AsDateTime() const {
    Value v = GetValue();
    if (v.IsNull()) return DateTime{};
    return ToColumnValue(v, ColumnType{FieldType::DateTime, 0}, name_).DateTimeValue();
}

std::string TField::DisplayText() const {
    Value v = GetValue();
    if (v.IsNull() || DisplayFormat.empty()) return ValueText(v);
    if (v.IsInteger()) return FormatNumber(static_cast<double>(v.Integer()), DisplayFormat);
    if (v.IsFloat()) return FormatNumber(v.Float(), DisplayFormat);
    return ValueText(v);  // dates show in the one short date format
}

namespace {

std::string GroupThousands(const std::string& digits) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

std::string FormatNumber(double value, const std::string& format) {
    size_t point = format.find('.');
    std::string whole = format.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : format.substr(point + 1);
    // Every digit place right of the leftmost "0" is always shown.
    size_t firstZero = whole.find('0');
    int minWhole =
        firstZero == std::string::npos
            ? 0
            : static_cast<int>(std::count_if(whole.begin() + firstZero, whole.end(),
                                             [](char c) { return c == '0' || c == '#'; }));
    int decimals = static_cast<int>(fraction.size());
    double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    std::string digits = std::to_string(static_cast<long long>(scaled));
    while (static_cast<int>(digits.size()) < decimals + 1) digits.insert(0, "0");
    std::string head = digits.substr(0, digits.size() - decimals);
    std::string tail = digits.substr(digits.size() - decimals);
    if (head == "0" && minWhole == 0) head.clear();
    while (static_cast<int>(head.size()) < minWhole) head.insert(0, "0");
    if (whole.find(',') != std::string::npos) head = GroupThousands(head);
    std::string out = (value < 0 && scaled != 0 ? "-" : "") + head;
    if (decimals > 0) out += "." + tail;
    return out;  // "#" shows nothing for zero
}

}  // namespace engine
