#include "app/U_SchoolChoice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/dialogs.h"

namespace kashidashi {

TSchoolChoice::TSchoolChoice(const QString& folder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SchoolChoice"));
    setWindowTitle(Dialogs::Caption());
    auto* text =
        new QLabel(QStringLiteral("フォルダ「%1」には学校のデータがありません。\n\n"
                                  "空の学校（データ表だけ）を作るか、練習用のデモの学校を作るか、"
                                  "フォルダを選び直してください。")
                       .arg(folder),
                   this);
    text->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* name, const QString& caption, Choice choice) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, choice] {
            choice_ = choice;
            choice == Choice::Again ? reject() : accept();
        });
        buttons->addWidget(button);
        return button;
    };
    add("EmptyButton", QStringLiteral("空の学校を作る"), Choice::Empty);
    add("DemoButton", QStringLiteral("デモの学校を作る"), Choice::Demo);
    // Nothing is made by an Enter pressed in passing: the focus (and Enter)
    // starts on choosing again.
    add("AgainButton", QStringLiteral("フォルダを選び直す"), Choice::Again)->setFocus();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

}  // namespace kashidashi
