// The tab 利用者: search, the chosen user's boxes, their books, the changes.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "grid/LibXGrid.h"
#include "library/affiliation.h"
#include "library/backup/backup_setting.h"
#include "library/data_place.h"
#include "library/holdings/U_Zousho.h"
#include "library/holdings/U_ZoushoRecords.h"
#include "library/holdings/columns.h"
#include "library/holdings/holdings_prints.h"
#include "library/holdings/zousho_text.h"
#include "library/labels/cards.h"
#include "library/labels/sheets.h"
#include "reports/preview_window.h"
#include "reports/report_source.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;
using namespace library::holdings;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QWidget* TZousho::MakeUsersTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("さがす言葉"), tab));
    Edit2 = new QLineEdit(tab);
    Edit2->setObjectName("Edit2");
    Edit2->setPlaceholderText(QStringLiteral("名前・生徒番号・固定番号・所属"));
    Edit2->setAttribute(Qt::WA_InputMethodEnabled, true);
    searchRow->addWidget(Edit2, 1);
    searchRow->addWidget(new QLabel(QStringLiteral("所属"), tab));
    ComboBox3 = new QComboBox(tab);
    ComboBox3->setObjectName("ComboBox3");
    ComboBox3->setMinimumWidth(120);
    searchRow->addWidget(ComboBox3);
    auto* search = NewButton("Button21", QStringLiteral("検索"), tab);
    searchRow->addWidget(search);
    layout->addLayout(searchRow);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    DBGrid2 = new TLibXGrid(tab);
    DBGrid2->setObjectName("DBGrid2");
    DBGrid2->SetDataSource(&userSource_);
    const std::pair<const char*, int> columns[] = {
        {"NAME_ID", 70}, {"seito_No", 70}, {"NAME", 160}, {"syozoku", 110}, {"mihenkyakuSU", 70}};
    for (const auto& [field, width] : columns) DBGrid2->AddColumn(field, width);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetOptions(DBGrid2->Options() | dgRowSelect);
    DBGrid2->ExcelSheetName = QStringLiteral("利用者");
    left->addWidget(DBGrid2, 1);
    Label21 = new QLabel(tab);
    Label21->setObjectName("Label21");
    left->addWidget(Label21);
    body->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* form = new QGridLayout;
    int row = 0;
    for (const auto& c : UserColumns()) {
        const std::string column = c.column;
        form->addWidget(new QLabel(Q(c.label), tab), row, 0);
        if (column == "syozoku_ID") {
            ComboBox4 = new QComboBox(tab);
            ComboBox4->setObjectName("ComboBox4");
            form->addWidget(ComboBox4, row++, 1);
            continue;
        }
        auto* box = new QLineEdit(tab);
        box->setObjectName(QStringLiteral("User_") + Q(column));
        userBoxes_[column] = box;
        form->addWidget(box, row++, 1);
    }
    right->addLayout(form);
    auto* buttons = new QGridLayout;
    const std::pair<const char*, const char*> kButtons[] = {{"Button22", "保存"},
                                                            {"Button23", "新しい利用者"},
                                                            {"Button24", "卒業・転出"},
                                                            {"Button25", "削除"},
                                                            {"Button26", "読書記録（職員用）"},
                                                            {"Button27", "利用者カード印刷"},
                                                            {"Button28", "読書記録を印刷"}};
    int i = 0;
    for (const auto& [name, text] : kButtons) {
        buttons->addWidget(NewButton(name, QString::fromUtf8(text), tab), i / 3, i % 3);
        ++i;
    }
    right->addLayout(buttons);
    userButtons_ = new QHBoxLayout;
    userButtons_->setObjectName("UserButtons");
    right->addLayout(userButtons_);
    right->addWidget(new QLabel(QStringLiteral("借りている本と予約"), tab));
    DBGrid3 = new TLibXGrid(tab);
    DBGrid3->setObjectName("DBGrid3");
    DBGrid3->SetDataSource(&userBookSource_);
    const std::pair<const char*, int> bookColumns[] = {
        {"kubun", 60}, {"BOOK_ID", 64}, {"syomei2", 200}, {"hi", 80}, {"henkyakuyotei", 80}};
    for (const auto& [field, width] : bookColumns) DBGrid3->AddColumn(field, width);
    DBGrid3->SetReadOnly(true);
    DBGrid3->SetOptions(DBGrid3->Options() | dgRowSelect);
    right->addWidget(DBGrid3, 1);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);

    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        const auto name = LayoutOf(*connection, "Name");
        for (auto& [column, box] : userBoxes_) {
            auto index = name.FindColumn(column);
            const bool text = index && engine::IsTextType(name.columns[*index].type.type);
            const bool number = column == "NAME_ID" || column == "seito_No" ||
                                column == "Seito_NO2" || column == "sex" || column == "PostNo" ||
                                column == "Tel";
            LimitBox(box, text ? name.columns[*index].type.size : 0, false, number);
        }
    });
    FillClasses();
    connect(search, &QPushButton::clicked, this, &TZousho::Button21Click);
    connect(Edit2, &QLineEdit::returnPressed, this, &TZousho::Button21Click);
    connect(ComboBox3, &QComboBox::activated, this, &TZousho::Button21Click);
    auto click = [&](const char* name, void (TZousho::*handler)()) {
        connect(tab->findChild<QPushButton*>(name), &QPushButton::clicked, this, handler);
    };
    click("Button22", &TZousho::Button22Click);
    click("Button23", &TZousho::Button23Click);
    click("Button24", &TZousho::Button24Click);
    click("Button25", &TZousho::Button25Click);
    click("Button26", &TZousho::Button26Click);
    click("Button27", &TZousho::Button27Click);
    click("Button28", &TZousho::Button28Click);
    userRows_.AfterScroll = [this](engine::TDataSet& rows) {
        if (rows.RecordCount() == 0 || showingPage_) return;
        const std::string id = rows.FieldByName("NAME_ID").AsString();
        if (id != userId_) ShowUser(id);
    };
    return tab;
}

void TZousho::FillClasses() {
    ComboBox3->clear();
    ComboBox4->clear();
    ComboBox3->addItem(QStringLiteral("すべて"), QVariant());
    ComboBox4->addItem(QStringLiteral("（なし）"), QVariant());
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        for (const auto& [code, name] : ReadAffiliations(*connection)) {
            ComboBox3->addItem(Q(name), QVariant::fromValue<qlonglong>(code));
            ComboBox4->addItem(Q(std::to_string(code) + " " + name),
                               QVariant::fromValue<qlonglong>(code));
        }
    });
}

void TZousho::Button21Click() {
    const QVariant chosen = ComboBox3->currentData();
    const auto classCode =
        chosen.isValid() ? std::optional<int64_t>(chosen.toLongLong()) : std::nullopt;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        users_ = SearchUsers(*connection, Edit2->text().toStdString(), classCode);
    });
    std::vector<std::vector<engine::Value>> rows;
    for (const auto& user : users_) rows.push_back(UserListRow(user));
    showingPage_ = true;
    userRows_.SetRows(std::move(rows));
    if (!userRows_.Active()) userRows_.Open();
    showingPage_ = false;
    Label21->setText(users_.empty() ? QStringLiteral("見つかりませんでした")
                                    : QStringLiteral("%1人").arg(users_.size()));
    ShowUser(users_.empty() ? "" : users_.front().nameId);
}

void TZousho::FillUserForm(const RollUser& user) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"NAME_ID", &user.nameId},     {"seito_No", &user.pupilNo},
        {"NAME", &user.name},          {"sex", &user.sex},
        {"Seito_NO2", &user.pupilNo2}, {"PostNo", &user.postNo},
        {"Adress", &user.address},     {"Tel", &user.tel}};
    for (const auto& [column, text] : texts) UserBox(column)->setText(Q(*text));
    int index =
        user.classCode ? ComboBox4->findData(QVariant::fromValue<qlonglong>(*user.classCode)) : 0;
    ComboBox4->setCurrentIndex(std::max(index, 0));
}

RollUser TZousho::UserForm() const {
    RollUser user;
    auto text = [&](const char* column) { return UserBox(column)->text().trimmed().toStdString(); };
    user.nameId = TypedNumber(text("NAME_ID"));
    user.pupilNo = TypedNumber(text("seito_No"));
    user.name = text("NAME");
    user.sex = TypedNumber(text("sex"));
    user.pupilNo2 = text("Seito_NO2");
    user.postNo = text("PostNo");
    user.address = text("Adress");
    user.tel = text("Tel");
    const QVariant chosen = ComboBox4->currentData();
    if (chosen.isValid()) user.classCode = chosen.toLongLong();
    return user;
}

void TZousho::ShowUser(const std::string& nameId) {
    userId_ = nameId;
    newUser_ = false;
    UserBox("NAME_ID")->setReadOnly(true);
    RollUser shown;
    if (!nameId.empty() && !Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            auto user = ReadUser(*connection, nameId);
            if (!user) throw Refused("固定番号 " + nameId + " の利用者はもういません");
            shown = *user;
        }))
        userId_.clear();
    FillUserForm(shown);
    ShowUserBooks();
    for (const char* name : {"Button22", "Button24", "Button25", "Button26", "Button27"})
        findChild<QPushButton*>(name)->setEnabled(!userId_.empty());
}

void TZousho::ShowUserBooks() {
    std::vector<std::vector<engine::Value>> rows;
    if (!userId_.empty())
        Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            for (const auto& loan : OpenLoans(*connection, userId_))
                rows.push_back(UserLoanRow(loan));
            for (const auto& r : ReservationsOf(*connection, userId_))
                rows.push_back(UserReservationRow(r));
        });
    userBookRows_.SetRows(std::move(rows));
    if (!userBookRows_.Active()) userBookRows_.Open();
}

void TZousho::Button22Click() {
    const RollUser form = UserForm();
    std::vector<std::string> warnings;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        auto before = newUser_ ? std::nullopt : ReadUser(*connection, form.nameId);
        warnings = CheckUser(*connection, form, before).warnings;
    });
    for (const auto& warning : warnings)
        if (Dialogs::Question(this, Q(warning) + QStringLiteral("\nこのまま保存しますか？"),
                              Dialogs::Yes | Dialogs::No, Dialogs::Kind::Warning,
                              Dialogs::No) != Dialogs::Yes)
            return;
    const bool added = newUser_;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            if (added)
                AddUser(*connection, form);
            else
                EditUser(*connection, form);
        }))
        return;
    ShowUser(form.nameId);
    Dialogs::Information(this, added ? QStringLiteral("%1 さんを登録しました。").arg(Q(form.name))
                                     : QStringLiteral("保存しました。"));
}

void TZousho::Button23Click() {
    ShowUser("");
    newUser_ = true;
    RollUser user;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        user.nameId = NextFixedNumber(*connection);
    });
    user.classCode = ComboBox3->currentData().isValid()
                         ? std::optional<int64_t>(ComboBox3->currentData().toLongLong())
                         : std::nullopt;
    FillUserForm(user);
    UserBox("NAME_ID")->setReadOnly(false);
    findChild<QPushButton*>("Button22")->setEnabled(true);
    UserBox("seito_No")->setFocus();
}

void TZousho::Button24Click() {
    if (userId_.empty()) return;
    const QString question =
        QStringLiteral(
            "%1 さんを卒業・転出にします。所属が「卒業・転出」になり、生徒番号は空き、"
            "予約は取り消されます。借りている本の記録は残ります。よろしいですか？")
            .arg(UserBox("NAME")->text());
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    const std::string id = userId_;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        MarkLeft(*connection, id, engine::Today());
    });
    FillClasses();
    ShowUser(id);
}

void TZousho::Button25Click() {
    if (userId_.empty()) return;
    // A user with books out: said at once, no question first.
    std::optional<std::string> refusal;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            if (auto user = ReadUser(*connection, userId_))
                refusal = DeleteRefusal(*connection, *user);
        }))
        return;
    if (refusal) {
        Dialogs::Warning(this, Q(*refusal));
        return;
    }
    const QString question =
        QStringLiteral("%1 さん（固定番号 %2）を利用者から削除します。よろしいですか？")
            .arg(UserBox("NAME")->text(), Q(userId_));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Warning,
                          Dialogs::No) != Dialogs::Yes)
        return;
    const std::string id = userId_;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            DeleteUser(*connection, id);
        }))
        return;
    Button21Click();
}

// The reading history: shown only on this click, which says so.
void TZousho::Button26Click() {
    if (userId_.empty()) return;
    const QString question =
        QStringLiteral(
            "%1 さんがこれまでに借りた本をすべて表示します。\n"
            "だれが何を読んだかは利用者のプライバシーです。本人に渡すときなど、必要なときだけ"
            "見てください。表示しますか？")
            .arg(UserBox("NAME")->text());
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    std::vector<std::vector<engine::Value>> rows;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            for (const auto& loan : ReadingHistory(*connection, userId_))
                rows.push_back(UserLoanRow(loan));
        }))
        return;
    TZoushoRecords records(QStringLiteral("読書記録: %1 さん").arg(UserBox("NAME")->text()),
                           UserBookColumns(), std::move(rows), this);
    Dialogs::Exec(records);
}

void TZousho::Button27Click() {
    if (userId_.empty()) return;
    std::optional<reports::PreparedReport> report;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            const int mode = ReadUserNumberMode(*connection);
            std::vector<std::string> unknown;
            const RollUser form = UserForm();
            auto users =
                UsersOfList(*connection, {mode == 5 ? form.nameId : form.pupilNo}, mode, unknown);
            if (users.empty())
                throw Refused(
                    "この利用者には机で読む番号（生徒番号）がないので、カードを印刷できません");
            auto sheet = reports::FindCellSheet("card-10");
            report = CardsReport(users, mode, *sheet, 0, SchoolName());
        }))
        return;
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

// The reading records of everyone listed (a class, or one pupil found), a
// page each, after a question that says what will be printed.
void TZousho::Button28Click() {
    if (users_.empty()) {
        Dialogs::Warning(this, QStringLiteral("印刷する人がいません。先に検索してください。"));
        return;
    }
    const QString question =
        QStringLiteral(
            "一覧の %1 人の読書記録（借りた本のすべて）を1人1ページで印刷します。\n"
            "読書記録は本人にだけ渡してください。印刷しますか？")
            .arg(users_.size());
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    std::optional<reports::PreparedReport> report;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            std::vector<ReadingRecord> records;
            for (const auto& user : users_)
                records.push_back({user, ReadingHistory(*connection, user.nameId)});
            auto head = reports::RowsSource(TDM::Instance().rptHead);
            report = ReadingRecordReport(records, *head);
        }))
        return;
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
