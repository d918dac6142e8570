#include "catalogue/db_lookup_combo.h"

#include "widgets/dialogs.h"

namespace kashidashi::catalogue {

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(10);
    setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::Pick);
}

TDBLookupComboBox::~TDBLookupComboBox() {
    if (dataSet_) dataSet_->RemoveObserver(this);
}

void TDBLookupComboBox::Bind(engine::TDataSet& dataSet, const std::string& keyField,
                             engine::TDataSet& list, const std::string& listKeyField,
                             const std::string& listField) {
    dataSet_ = &dataSet;
    list_ = &list;
    keyField_ = keyField;
    listKeyField_ = listKeyField;
    listField_ = listField;
    dataSet.AddObserver(this);
}

void TDBLookupComboBox::LoadList() {
    clear();
    if (list_ && list_->Active()) {
        for (list_->First(); !list_->Eof(); list_->Next())
            addItem(QString::fromStdString(list_->FieldByName(listField_).AsString()),
                    QString::fromStdString(list_->FieldByName(listKeyField_).AsString()));
    }
    Reload();
}

void TDBLookupComboBox::Reload() {
    const bool has = dataSet_ && dataSet_->Active() && dataSet_->FindField(keyField_);
    const QString key =
        has ? QString::fromStdString(dataSet_->FieldByName(keyField_).AsString()) : QString();
    setCurrentIndex(key.isEmpty() ? -1 : findData(key));
}

void TDBLookupComboBox::Pick(int index) {
    if (!dataSet_ || !dataSet_->Active() || index < 0) return;
    try {
        if (dataSet_->State() == engine::DataSetState::dsBrowse) dataSet_->Edit();
        dataSet_->FieldByName(keyField_).SetAsString(itemData(index).toString().toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(window(), error);
        Reload();
    }
}

void TDBLookupComboBox::FieldChanged(engine::TField& field) {
    if (field.FieldName() == keyField_) Reload();
}

}  // namespace kashidashi::catalogue
