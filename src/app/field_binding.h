// Data-aware edits: each binding ties a QLineEdit to a field of a data set.
// Load puts the field's text into the edit (when the window opens); Store
// writes the edits whose text the operator changed back into the data set's
// edit buffer (when the window closes). Check, run before Store, finds the
// first edit whose text its numeric field cannot take, so a window can say so
// and stay open before anything is written.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QLineEdit;

#include "engine/common/field_type.h"

namespace engine {
class TDataSet;
}

namespace kashidashi {

class FieldBindings {
  public:
    struct Binding {
        QLineEdit* edit;
        engine::TDataSet* dataSet;
        std::string fieldName;
        QString caption;       // names the edit in messages
        QString loaded;        // the text Load put there
        bool enabled = false;  // false when the field could not be read
    };

    void Add(QLineEdit* edit, engine::TDataSet& dataSet, std::string fieldName, QString caption);
    // Loads every binding whose data set is open with a current row; the
    // others are emptied and disabled.
    void Load();
    // Loads the bindings of one data set only.
    void Load(const engine::TDataSet& dataSet);
    // The first loaded edit whose text does not convert to its field's type.
    const Binding* FirstInvalid() const;
    // Writes the changed edits of one data set into its edit buffer (the data
    // set must be in edit or insert state). Throws what the engine throws.
    void Store(engine::TDataSet& dataSet);
    // "「caption」には数字を入れてください。"
    static QString InvalidNumberMessage(const Binding& binding);

  private:
    void LoadOne(Binding& binding);
    std::vector<Binding> bindings_;
};

// True when the text is a whole number (optional sign, ASCII digits, blanks
// around it) or empty; with `decimal`, a decimal number as well.
bool TextFitsNumber(const QString& text, bool decimal);
// True when a field of the type can take the text: numbers as above, whole
// numbers within the type's range; any text for other types.
bool TextFitsField(const QString& text, engine::FieldType type);

}  // namespace kashidashi
