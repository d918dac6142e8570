// Qt's own texts in Japanese, whatever LANG says: the file dialog, the
// context menu of an edit, the standard buttons of a box.
#include "data/japanese_texts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <memory>

namespace app_test {
namespace {

QStringList ActionTexts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

TEST(JapaneseTexts, QtsOwnTextsAreJapaneseWhateverLangSays) {
    qputenv("LANG", "en_US.UTF-8");
    qputenv("LC_ALL", "C");
    ASSERT_TRUE(kashidashi::InstallJapaneseTexts()) << "qt6-translations-l10n is not installed";

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList actions = ActionTexts(*menu);
    EXPECT_TRUE(actions.filter(QStringLiteral("元に戻す")).size() == 1)
        << actions.join('|').toStdString();
    EXPECT_TRUE(actions.filter(QStringLiteral("貼り付け")).size() == 1)
        << actions.join('|').toStdString();

    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text().left(2), QStringLiteral("保存"));

    // Qt's own file dialog, as on a desktop without a native one.
    QFileDialog dialog(nullptr, QStringLiteral("PDF出力"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.filter(QStringLiteral("ファイル名")).size() == 1)
        << labels.join('|').toStdString();
    QStringList buttons;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル"))) << buttons.join('|').toStdString();
    for (const QString& text : labels + buttons + actions)
        EXPECT_FALSE(text.contains(QStringLiteral("File name")) || text.contains("Cancel") ||
                     text.contains("Undo") || text.contains("Look in"))
            << text.toStdString();
}

}  // namespace
}  // namespace app_test
