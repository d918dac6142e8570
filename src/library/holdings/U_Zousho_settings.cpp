// The tab 設定: the school's lists of codes, its name, and where the loan
// period and limit are kept.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/U_DM.h"
#include "grid/LibXGrid.h"
#include "library/backup/backup_setting.h"
#include "library/data_place.h"
#include "library/holdings/U_Zousho.h"
#include "library/holdings/zousho_text.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;
using namespace library::holdings;

namespace {

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QWidget* TZousho::MakeSettingsTab() {
    auto* tab = new QWidget;
    auto* layout = new QHBoxLayout(tab);
    auto* left = new QVBoxLayout;
    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel(QStringLiteral("一覧"), tab));
    ComboBox5 = new QComboBox(tab);
    ComboBox5->setObjectName("ComboBox5");
    for (const auto& info : CodeLists())
        ComboBox5->addItem(QString::fromUtf8(info.title), static_cast<int>(info.list));
    choose->addWidget(ComboBox5, 1);
    left->addLayout(choose);
    DBGrid4 = new TLibXGrid(tab);
    DBGrid4->setObjectName("DBGrid4");
    DBGrid4->SetDataSource(&codeSource_);
    for (const auto& [field, width] :
         std::vector<std::pair<const char*, int>>{{"code", 80}, {"name", 200}, {"used", 100}})
        DBGrid4->AddColumn(field, width);
    DBGrid4->SetReadOnly(true);
    DBGrid4->SetOptions(DBGrid4->Options() | dgRowSelect);
    left->addWidget(DBGrid4, 1);
    auto* edit = new QGridLayout;
    edit->addWidget(new QLabel(QStringLiteral("コード"), tab), 0, 0);
    Edit31 = new QLineEdit(tab);
    Edit31->setObjectName("Edit31");
    edit->addWidget(Edit31, 0, 1);
    edit->addWidget(new QLabel(QStringLiteral("名前"), tab), 1, 0);
    Edit32 = new QLineEdit(tab);
    Edit32->setObjectName("Edit32");
    LimitBox(Edit32, 24, false);
    edit->addWidget(Edit32, 1, 1);
    left->addLayout(edit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(NewButton("Button31", QStringLiteral("追加"), tab));
    buttons->addWidget(NewButton("Button32", QStringLiteral("名前を変更"), tab));
    buttons->addWidget(NewButton("Button33", QStringLiteral("削除"), tab));
    left->addLayout(buttons);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("学校名（印刷物とラベル・カードに入ります）"), tab));
    Edit33 = new QLineEdit(tab);
    Edit33->setObjectName("Edit33");
    LimitBox(Edit33, 100, false);
    right->addWidget(Edit33);
    right->addWidget(NewButton("Button34", QStringLiteral("学校名を保存"), tab), 0, Qt::AlignLeft);
    Label31 = new QLabel(tab);
    Label31->setObjectName("Label31");
    Label31->setWordWrap(true);
    right->addWidget(Label31);
    right->addStretch(1);
    layout->addLayout(right, 1);

    connect(ComboBox5, &QComboBox::currentIndexChanged, this, &TZousho::ShowCodes);
    connect(tab->findChild<QPushButton*>("Button31"), &QPushButton::clicked, this,
            &TZousho::Button31Click);
    connect(tab->findChild<QPushButton*>("Button32"), &QPushButton::clicked, this,
            &TZousho::Button32Click);
    connect(tab->findChild<QPushButton*>("Button33"), &QPushButton::clicked, this,
            &TZousho::Button33Click);
    connect(tab->findChild<QPushButton*>("Button34"), &QPushButton::clicked, this,
            &TZousho::Button34Click);
    codeRows_.AfterScroll = [this](engine::TDataSet& rows) {
        if (rows.RecordCount() == 0 || showingPage_) return;
        Edit31->setText(QString::fromStdString(rows.FieldByName("code").AsString()));
        Edit32->setText(QString::fromStdString(rows.FieldByName("name").AsString()));
    };
    Guarded([&] {
        TDM& dm = TDM::Instance();
        DataSetCloser closer(dm.Head);
        dm.Head.Open();
        const std::string name = dm.Head.FieldByName("meisyou").AsString();
        Edit33->setText(name == "\u3000" ? QString() : QString::fromStdString(name));
        Label31->setText(QStringLiteral("貸出期間 %1 日、1人 %2 冊まで（この机の設定）。\n"
                                        "貸出期間と冊数、新着図書の貸出禁止日数、ISBNでの貸出は"
                                        "メイン画面の「初期設定」で変えます。")
                             .arg(dm.Head.FieldByName("PM1").AsInteger())
                             .arg(dm.Head.FieldByName("kashisuu").AsInteger()));
    });
    ShowCodes();
    return tab;
}

void TZousho::ShowCodes() {
    const auto list = static_cast<CodeList>(ComboBox5->currentData().toInt());
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        codes_ = ReadCodes(*connection, list);
    });
    std::vector<std::vector<engine::Value>> rows;
    for (const auto& entry : codes_) rows.push_back(CodeRow(entry));
    showingPage_ = true;
    codeRows_.SetRows(std::move(rows));
    if (!codeRows_.Active()) codeRows_.Open();
    showingPage_ = false;
    const int bytes = std::string(InfoOf(list).table) == "ZAIGEN" ||
                              std::string(InfoOf(list).table) == "UKEIRE" ||
                              std::string(InfoOf(list).table) == "SYOZOKU"
                          ? 20
                          : 24;
    Edit32->setProperty("bytes", bytes);
}

void TZousho::Button31Click() {
    const auto list = static_cast<CodeList>(ComboBox5->currentData().toInt());
    if (Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            AddCode(*connection, list, Edit31->text().trimmed().toStdString(),
                    Edit32->text().trimmed().toStdString());
        })) {
        ShowCodes();
        FillClasses();
        FillCodeChoices();
    }
}

void TZousho::Button32Click() {
    const auto list = static_cast<CodeList>(ComboBox5->currentData().toInt());
    if (Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            RenameCode(*connection, list, Edit31->text().trimmed().toStdString(),
                       Edit32->text().trimmed().toStdString());
        })) {
        ShowCodes();
        FillClasses();
        FillCodeChoices();
    }
}

void TZousho::Button33Click() {
    const auto list = static_cast<CodeList>(ComboBox5->currentData().toInt());
    const QString question = QStringLiteral("%1のコード %2 を削除します。よろしいですか？")
                                 .arg(QString::fromUtf8(InfoOf(list).title), Edit31->text());
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    if (Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            RemoveCode(*connection, list, Edit31->text().trimmed().toStdString());
        })) {
        ShowCodes();
        FillClasses();
        FillCodeChoices();
    }
}

void TZousho::Button34Click() {
    Guarded([&] {
        TDM& dm = TDM::Instance();
        DataSetCloser closer(dm.Head);
        dm.Head.Open();
        dm.Head.Edit();
        const QString name = Edit33->text().trimmed();
        dm.Head.FieldByName("meisyou").SetAsString(name.isEmpty() ? "\u3000" : name.toStdString());
        dm.Head.Post();
    });
}

}  // namespace kashidashi
