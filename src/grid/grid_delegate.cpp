#include "grid/grid_delegate.h"

#include <QLineEdit>

#include "engine/dataset/dataset.h"
#include "widgets/dialogs.h"

namespace kashidashi {

GridDelegate::GridDelegate(TFixedColDBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (!editor) return editor;
    if (index.column() < grid_.ColumnCount())
        ApplyImeMode(*editor, grid_.Columns(index.column()).ImeMode);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        QString original = index.data(Qt::EditRole).toString();
        connect(edit, &QLineEdit::textEdited, edit,
                [this, edit, original] { BeginEdit(edit, original); });
    }
    return editor;
}

void GridDelegate::BeginEdit(QWidget* editor, const QString& original) const {
    engine::TDataSet* dataSet = grid_.DataSet();
    if (!dataSet || dataSet->State() != engine::DataSetState::dsBrowse) return;
    try {
        dataSet->Edit();
    } catch (const std::exception& error) {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(original);
        edit->setReadOnly(true);
        Dialogs::ShowEngineError(&grid_, error);
    }
}

void ApplyImeMode(QWidget& editor, TImeMode mode) {
    switch (mode) {
        case TImeMode::imDontCare:
            return;
        case TImeMode::imDisable:
            editor.setAttribute(Qt::WA_InputMethodEnabled, false);
            editor.setInputMethodHints(Qt::ImhLatinOnly);
            return;
        case TImeMode::imClose:
        case TImeMode::imAlpha:
            editor.setAttribute(Qt::WA_InputMethodEnabled, true);
            editor.setInputMethodHints(Qt::ImhPreferLatin);
            return;
        case TImeMode::imOpen:
        case TImeMode::imHira:
            editor.setAttribute(Qt::WA_InputMethodEnabled, true);
            editor.setInputMethodHints(Qt::ImhNone);
            return;
    }
}

}  // namespace kashidashi
