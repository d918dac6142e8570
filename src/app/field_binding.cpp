#include "app/field_binding.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "engine/dataset/dataset.h"

namespace kashidashi {
namespace {

bool IsWholeNumberType(engine::FieldType type) {
    using engine::FieldType;
    return type == FieldType::Integer || type == FieldType::Smallint || type == FieldType::AutoInc;
}

bool IsDecimalType(engine::FieldType type) {
    return type == engine::FieldType::Float || type == engine::FieldType::Currency;
}

bool HasRow(const engine::TDataSet& dataSet) {
    return dataSet.Active() && !dataSet.IsEmpty();
}

}  // namespace

bool TextFitsNumber(const QString& text, bool decimal) {
    static const QRegularExpression whole(QStringLiteral("^\\s*[-+]?[0-9]+\\s*$"));
    static const QRegularExpression real(
        QStringLiteral("^\\s*[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)\\s*$"));
    if (text.trimmed().isEmpty()) return true;
    return (decimal ? real : whole).match(text).hasMatch();
}

bool TextFitsField(const QString& text, engine::FieldType type) {
    if (IsDecimalType(type)) return TextFitsNumber(text, true);
    if (!IsWholeNumberType(type)) return true;
    if (!TextFitsNumber(text, false)) return false;
    if (text.trimmed().isEmpty()) return true;
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    const qlonglong limit = type == engine::FieldType::Smallint ? 32767 : 2147483647;
    return ok && n <= limit && n >= -limit - 1;
}

void FieldBindings::Add(QLineEdit* edit, engine::TDataSet& dataSet, std::string fieldName,
                        QString caption) {
    bindings_.push_back({edit, &dataSet, std::move(fieldName), std::move(caption), {}, false});
}

void FieldBindings::LoadOne(Binding& b) {
    b.enabled = HasRow(*b.dataSet) && b.dataSet->FindField(b.fieldName) != nullptr;
    b.loaded = b.enabled ? QString::fromStdString(b.dataSet->FieldByName(b.fieldName).AsString())
                         : QString();
    b.edit->setText(b.loaded);
    b.edit->setEnabled(b.enabled);
    b.edit->setModified(false);
}

void FieldBindings::Load() {
    for (auto& b : bindings_) LoadOne(b);
}

void FieldBindings::Load(const engine::TDataSet& dataSet) {
    for (auto& b : bindings_)
        if (b.dataSet == &dataSet) LoadOne(b);
}

const FieldBindings::Binding* FieldBindings::FirstInvalid() const {
    for (const auto& b : bindings_) {
        if (!b.enabled || b.edit->text() == b.loaded) continue;
        const auto type = b.dataSet->FieldByName(b.fieldName).DataType();
        if (!TextFitsField(b.edit->text(), type)) return &b;
    }
    return nullptr;
}

void FieldBindings::Store(engine::TDataSet& dataSet) {
    for (auto& b : bindings_) {
        if (b.dataSet != &dataSet || !b.enabled || b.edit->text() == b.loaded) continue;
        const auto type = dataSet.FieldByName(b.fieldName).DataType();
        const bool numeric = IsWholeNumberType(type) || IsDecimalType(type);
        // Numbers are stored without the blanks around them; texts as typed.
        const QString text = numeric ? b.edit->text().trimmed() : b.edit->text();
        dataSet.FieldByName(b.fieldName).SetAsString(text.toStdString());
    }
}

QString FieldBindings::InvalidNumberMessage(const Binding& binding) {
    return QStringLiteral("「%1」には数字を入れてください。").arg(binding.caption);
}

}  // namespace kashidashi
