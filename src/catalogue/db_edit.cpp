#include "catalogue/db_edit.h"

#include <QFocusEvent>
#include <QValidator>

#include "catalogue/box_text.h"
#include "widgets/dialogs.h"

namespace kashidashi::catalogue {

// Every change of the box's text passes here (typing, an input method's
// text, paste, setText), and is made to fit the column.
class ColumnValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        BoxText box{input, pos};
        if (reading) box = AsReading(box);
        box = FitToBytes(box, maxBytes);
        input = box.text;
        pos = box.cursor;
        return Acceptable;
    }
    int maxBytes = 0;  // 0: no limit
    bool reading = false;
};

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), validator_(new ColumnValidator(this)) {
    setValidator(validator_);
}

void TDBEdit::SetReading(bool reading) {
    validator_->reading = reading;
    Reload();
}

TDBEdit::~TDBEdit() {
    if (dataSet_) dataSet_->RemoveObserver(this);
}

void TDBEdit::Bind(engine::TDataSet& dataSet, const std::string& fieldName) {
    if (dataSet_) dataSet_->RemoveObserver(this);
    dataSet_ = &dataSet;
    fieldName_ = fieldName;
    dataSet.AddObserver(this);
    const engine::TField* field = dataSet.FindField(fieldName);
    if (field && field->DataType() == engine::FieldType::String && field->Size() > 0) {
        if (maxLength() > field->Size()) setMaxLength(field->Size());
        validator_->maxBytes = field->Size();
    }
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
    // A message box or menu above the window does not leave the box.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) UpdateRecord();
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
