#include "catalogue/db_edit.h"

#include "widgets/dialogs.h"

namespace kashidashi::catalogue {

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {}

TDBEdit::~TDBEdit() {
    if (dataSet_) dataSet_->RemoveObserver(this);
}

void TDBEdit::Bind(engine::TDataSet& dataSet, const std::string& fieldName) {
    if (dataSet_) dataSet_->RemoveObserver(this);
    dataSet_ = &dataSet;
    fieldName_ = fieldName;
    dataSet.AddObserver(this);
    if (const engine::TField* field = dataSet.FindField(fieldName);
        field && field->DataType() == engine::FieldType::String && field->Size() > 0 &&
        maxLength() > field->Size())
        setMaxLength(field->Size());
    Reload();
}

engine::TField* TDBEdit::Field() const {
    if (!dataSet_ || !dataSet_->Active()) return nullptr;
    return dataSet_->FindField(fieldName_);
}

void TDBEdit::Reload() {
    engine::TField* field = Field();
    loaded_ = field ? QString::fromStdString(field->AsString()) : QString();
    setText(loaded_);
}

void TDBEdit::UpdateRecord() {
    engine::TField* field = Field();
    if (!Typed() || !field) return;
    const QString typed = text();  // Edit shows the stored row again
    try {
        if (dataSet_->State() == engine::DataSetState::dsBrowse) dataSet_->Edit();
        loaded_ = typed;
        field->SetAsString(typed.toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(window(), error);
        Reload();
    }
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    UpdateRecord();
    QLineEdit::focusOutEvent(event);
}

void TDBEdit::DataSetChanged(engine::TDataSet&, engine::DataSetChange change) {
    if (change == engine::DataSetChange::Record && hasFocus() && Typed()) return;
    Reload();
}

void TDBEdit::FieldChanged(engine::TField& field) {
    if (&field == Field()) Reload();
}

}  // namespace kashidashi::catalogue
