#include "support/widget_keys.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace kx_test {

void Press(QWidget& target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&target, &press);
    QApplication::sendEvent(&target, &release);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void Type(QWidget& target, const QString& text) {
    for (QChar c : text) Press(target, 0, Qt::NoModifier, QString(c));
}

QLineEdit* TypeIntoCell(QAbstractItemView& grid, int row, int column, const QString& text) {
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(row, column));
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    EXPECT_NE(editor, nullptr) << "row " << row;
    if (!editor) return nullptr;
    editor->selectAll();
    Type(*editor, text);
    return editor;
}

QStringList ColumnTexts(const QAbstractItemView& grid, const QString& title) {
    const QAbstractItemModel& model = *grid.model();
    QStringList texts;
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal).toString() != title) continue;
        for (int r = 0; r < model.rowCount(); ++r) texts << model.index(r, c).data().toString();
    }
    return texts;
}

}  // namespace kx_test
