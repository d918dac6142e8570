#include "app/U_Head1.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>

#include "app/LibMail.h"
#include "app/web_addresses.h"
#include "data/U_DM.h"
#include "ui_U_Head1.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {
namespace {

constexpr const char* kDefaultDataFolder = "C:\\Book\\";

}  // namespace

THead1::THead1(QWidget* parent)
    : QDialog(parent), LibMail1(new TLibMail(this)), ui(std::make_unique<Ui::THead1>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Head1"));
    LibMail1->setObjectName(QStringLiteral("LibMail1"));
    setFixedSize(586, 671);
    CentreOnScreen(*this);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->Label1->setText(QStringLiteral("まず先にサーバ側の設定をしてください。"
                                       "マニュアルまたは、HPの説明を読んでください。\n%1")
                            .arg(QString::fromLatin1(kSupportSiteAddress)));
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->RadioGroup1, &TRadioGroup::Click, this, &THead1::RadioGroup1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &THead1::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &THead1::Button3Click);
    // Enter in a field closes the window (keyPressEvent), never a button
    // that happens to be the default.
    for (auto* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    Head.SetTableName("Head");
    BindEdits();
}

THead1::~THead1() = default;

void THead1::BindEdits() {
    engine::TDBTable& reg = TDM::Instance().RegTB;
    auto bind = [this](QLineEdit* edit, engine::TDataSet& dataSet, const char* field,
                       const char* caption) {
        bindings_.Add(edit, dataSet, field, QString::fromUtf8(caption));
    };
    bind(ui->RDBEdit1, Head, "nendo", "西暦年度");
    bind(ui->RDBEdit9, Head, "PM1", "図書貸出期間");
    bind(ui->RDBEdit11, Head, "kashisuu", "貸出図書数");
    bind(ui->RDBEdit2, reg, "N1", "新着図書の貸出禁止日数");
    bind(ui->RDBEdit7, Head, "PM5", "ユーザパスワード");
    bind(ui->DBEdit1, Head, "UserName", "UserName");
    bind(ui->DBEdit2, Head, "UserPW", "UserPW");
    bind(ui->DBEdit3, Head, "HostName", "HostName");
    bind(ui->DBEdit4, Head, "portNo", "PortNo");
    bind(ui->DBEdit5, Head, "DataBaseName", "DataBaseName");
    bind(ui->RDBEdit8, Head, "PathName1", "データパス名");
}

void THead1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
        button->click();
    else
        accept();
}

void THead1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        FormActivate();
    }
}

void THead1::FormActivate() {
    ShowRegRow2();
    ui->Label4->setText(QStringLiteral("データフォルダ名を指定してください。"));
    try {
        OpenHead();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    bindings_.Load();
}

// Reg may be out of reach (a wrong data folder, a server that is down): then
// the two Reg settings stay empty and the rest of the window still works.
void THead1::ShowRegRow2() {
    engine::TDBTable& reg = TDM::Instance().RegTB;
    ui->RadioGroup2->SetItemIndex(-1);
    try {
        reg.Open();
        regRow2Shown_ = reg.FindKey({engine::Value(2)});
        if (regRow2Shown_)
            ui->RadioGroup2->SetItemIndex(static_cast<int>(reg.FieldByName("N2").AsInteger()));
    } catch (const std::exception&) {
        regRow2Shown_ = false;
    }
    // Without row 2 the current row would be another one: keep away from it.
    if (!regRow2Shown_) reg.Close();
}

void THead1::OpenHead() {
    const ProgramSettings& settings = TDM::Instance().settings;
    Head.SetSessionName(TDM::Instance().DBSession2.SessionName());
    Head.SetDatabaseName(settings.ProgramFolder);
    Head.Open();
    Head.First();
    if (Head.IsEmpty())
        Head.Append();
    else
        Head.Edit();
    ui->RadioGroup1->SetItemIndex(Head.FieldByName("PM4").AsInteger() == 1 ? 1 : 0);
    RadioGroup1Click();
    if (Head.FieldByName("PathName1").AsString().empty())
        Head.FieldByName("PathName1").SetAsString(kDefaultDataFolder);
}

void THead1::RadioGroup1Click() {
    const bool server = ui->RadioGroup1->ItemIndex() == 1;
    ui->Panel2->setVisible(server);
    ui->Label1->setVisible(server);
    ui->Panel3->setVisible(!server);
    ui->Label4->setVisible(!server);
}

void THead1::Button2Click() {
    const auto answer =
        Dialogs::Question(this, QStringLiteral("インターネットへ接続して 説明文書を開きます。"),
                          Dialogs::Yes | Dialogs::Cancel, Dialogs::Kind::Warning);
    if (answer != Dialogs::Yes) return;
    LibMail1->SetHomePageAddress(QString::fromLatin1(kClientServerManualAddress));
    if (!LibMail1->OpenHomePage())
        Dialogs::Warning(
            this,
            QStringLiteral("説明文書を開けませんでした。\r\n%1").arg(LibMail1->HomePageAddress()));
}

}  // namespace kashidashi
