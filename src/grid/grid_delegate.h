// GridDelegate: the cell editor of a TFixedColDBGrid. The editor asks for
// the input method of its column (TColumn::ImeMode, a TImeMode), and the operator's
// first change of its text puts the data set in edit state; when the data
// set cannot be edited (the row is locked by another desk), the error is
// shown, the text goes back and the editor takes no more typing.
//
// The delegate belongs to its grid (a child object of it).
#pragma once

#include <QStyledItemDelegate>

#include "grid/FixedColDBGrid.h"

namespace kashidashi {

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit GridDelegate(TFixedColDBGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  private:
    void BeginEdit(QWidget* editor, const QString& original) const;

    TFixedColDBGrid& grid_;
};

// Sets the input method hints of an editor for an IME mode: imClose and
// imAlpha prefer Latin input, imDisable takes no input method at all,
// imOpen and imHira leave the input method on; imDontCare changes nothing.
void ApplyImeMode(QWidget& editor, TImeMode mode);

}  // namespace kashidashi
