// Keys and cells as the operator reaches them: a key pressed and released on
// a widget, a text typed key by key, a cell of a grid opened and typed into,
// and the texts a grid shows in one column.
#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QLineEdit;
class QWidget;

namespace kx_test {

// A key pressed and released on a widget (text: what it types); then the
// queued work runs.
void Press(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {});
void Type(QWidget& target, const QString& text);
// Opens the cell's editor and types the text over its content; nullptr (and
// a failure) when the cell opens no line editor.
QLineEdit* TypeIntoCell(QAbstractItemView& grid, int row, int column, const QString& text);
// The texts of the column whose title is `title`, top to bottom.
QStringList ColumnTexts(const QAbstractItemView& grid, const QString& title);

}  // namespace kx_test
