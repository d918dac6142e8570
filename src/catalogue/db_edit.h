// TDBEdit: an edit box bound to one field of a data set. It shows the
// field's text of the current row; the operator's typing reaches the field
// when the box is left (the data set is put into edit mode first when it
// browses); a box is not left when its window only loses the activation (a
// message box above it), so that changes nothing. A text field limits the box
// to the code page 932 bytes it holds, for typing, pasting and the field's
// own value alike (box_text.h), so the box shows what the field stores. A change of its own field,
// a posted or cancelled row, or another row shows the field again, except that a box the operator
// is typing in keeps its text while other fields of its row change. A value the field cannot take
// is shown in the standard error box and the field's text comes back.
#pragma once

#include <QLineEdit>
#include <string>

#include "engine/dataset/dataset.h"

namespace kashidashi::catalogue {

class TDBEdit : public QLineEdit, private engine::DataSetObserver {
    Q_OBJECT
  public:
    explicit TDBEdit(QWidget* parent = nullptr);
    ~TDBEdit() override;

    // Binds the box to the field; a text field limits the box to its bytes.
    void Bind(engine::TDataSet& dataSet, const std::string& fieldName);
    // A reading box: what comes in is turned into half-width katakana.
    void SetReading(bool reading);
    // Writes typed text into the field (nothing when the text is still the
    // field's text as last shown).
    void UpdateRecord();
    // True when the text differs from the field's text as last shown.
    bool Typed() const { return text() != loaded_; }
    // Shows the field's text again.
    void Reload();

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void DataSetChanged(engine::TDataSet&, engine::DataSetChange change) override;
    void FieldChanged(engine::TField& field) override;
    engine::TField* Field() const;

    engine::TDataSet* dataSet_ = nullptr;
    std::string fieldName_;
    QString loaded_;
    class ColumnValidator* validator_;
};

}  // namespace kashidashi::catalogue
