// TDBLookupComboBox: a drop-down list of the rows of a list data set (a
// code and its name), bound to a key field of another data set. It shows
// the name of the code the field holds (nothing when no row has it);
// picking an entry writes its code into the field (the data set is put into
// edit mode first when it browses).
#pragma once

#include <QComboBox>
#include <string>

#include "engine/dataset/dataset.h"

namespace kashidashi::catalogue {

class TDBLookupComboBox : public QComboBox, private engine::DataSetObserver {
    Q_OBJECT
  public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    void Bind(engine::TDataSet& dataSet, const std::string& keyField, engine::TDataSet& list,
              const std::string& listKeyField, const std::string& listField);
    // Reads the list's rows (the list must be open) and shows the field's name.
    void LoadList();
    // Shows the name of the field's code.
    void Reload();

  private:
    void Pick(int index);
    void DataSetChanged(engine::TDataSet&, engine::DataSetChange) override { Reload(); }
    void FieldChanged(engine::TField& field) override;

    engine::TDataSet* dataSet_ = nullptr;
    engine::TDataSet* list_ = nullptr;
    std::string keyField_, listKeyField_, listField_;
};

}  // namespace kashidashi::catalogue
