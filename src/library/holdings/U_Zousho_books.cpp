// The tab 図書: search, the chosen book's boxes, its changes and prints.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "catalogue/book_record.h"
#include "catalogue/lookup.h"
#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "grid/LibXGrid.h"
#include "library/U_SaveSheet.h"
#include "library/backup/backup_setting.h"
#include "library/data_place.h"
#include "library/holdings/U_Zousho.h"
#include "library/holdings/U_ZoushoRecords.h"
#include "library/holdings/columns.h"
#include "library/holdings/holdings_csv.h"
#include "library/holdings/holdings_prints.h"
#include "library/holdings/zousho_text.h"
#include "library/labels/labels.h"
#include "reports/preview_window.h"
#include "reports/report_source.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;
using namespace library::holdings;

namespace {

constexpr size_t kPage = 100;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

engine::Date FromQDate(const QDate& day) {
    return engine::MakeDate(day.year(), day.month(), day.day());
}

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool IsFlag(const std::string& column) {
    return column == "kintaiF" || column == "heikaF";
}

std::optional<CodeList> CodeListOf(const std::string& column) {
    if (column == "HKN_ID") return CodeList::Places;
    if (column == "NDC_ID") return CodeList::Ndc;
    if (column == "ZAIGEN_ID") return CodeList::Funds;
    if (column == "UKEIRE_ID") return CodeList::Suppliers;
    return std::nullopt;
}

// Enter in the ISBN box runs the lookup; the box keeps the key.
class EnterFilter : public QObject {
  public:
    EnterFilter(QObject* parent, std::function<void()> onEnter)
        : QObject(parent), onEnter_(std::move(onEnter)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                onEnter_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> onEnter_;
};

}  // namespace

QWidget* TZousho::MakeBooksTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("さがす言葉"), tab));
    Edit1 = new QLineEdit(tab);
    Edit1->setObjectName("Edit1");
    Edit1->setPlaceholderText(
        QStringLiteral("書名・著者・ISBN・図書番号・請求記号など（空白で区切るとすべてを含む本）"));
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, true);
    searchRow->addWidget(Edit1, 1);
    ComboBox1 = new QComboBox(tab);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({QStringLiteral("を含む"), QStringLiteral("で始まる")});
    searchRow->addWidget(ComboBox1);
    CheckBox1 = new QCheckBox(QStringLiteral("登録日"), tab);
    CheckBox1->setObjectName("CheckBox1");
    searchRow->addWidget(CheckBox1);
    DateEdit1 = new QDateEdit(QDate::currentDate().addMonths(-1), tab);
    DateEdit2 = new QDateEdit(QDate::currentDate(), tab);
    DateEdit1->setObjectName("DateEdit1");
    DateEdit2->setObjectName("DateEdit2");
    for (auto* date : {DateEdit1, DateEdit2}) {
        date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        date->setCalendarPopup(true);
    }
    searchRow->addWidget(DateEdit1);
    searchRow->addWidget(new QLabel(QStringLiteral("〜"), tab));
    searchRow->addWidget(DateEdit2);
    auto* search = NewButton("Button1", QStringLiteral("検索"), tab);
    searchRow->addWidget(search);
    layout->addLayout(searchRow);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    DBGrid1 = new TLibXGrid(tab);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->SetDataSource(&hitSource_);
    const std::pair<const char*, int> columns[] = {
        {"BOOK_ID", 60}, {"syomei2", 170}, {"cyosya", 90},    {"syuppansya", 70},
        {"seikyu", 60},  {"HKN", 60},      {"tourokubi", 72}, {"state", 140}};
    for (const auto& [field, width] : columns) DBGrid1->AddColumn(field, width);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetOptions(DBGrid1->Options() | dgRowSelect);
    DBGrid1->ExcelSheetName = QStringLiteral("図書");
    left->addWidget(DBGrid1, 1);
    auto* pageRow = new QHBoxLayout;
    Button2 = NewButton("Button2", QStringLiteral("前の100件"), tab);
    Button3 = NewButton("Button3", QStringLiteral("次の100件"), tab);
    Label1 = new QLabel(tab);
    Label1->setObjectName("Label1");
    pageRow->addWidget(Button2);
    pageRow->addWidget(Button3);
    pageRow->addWidget(Label1, 1);
    pageRow->addWidget(NewButton("Button13", QStringLiteral("一覧印刷"), tab));
    pageRow->addWidget(NewButton("Button12", QStringLiteral("CSV出力"), tab));
    left->addLayout(pageRow);
    body->addLayout(left, 12);

    auto* right = new QVBoxLayout;
    auto* form = new QGridLayout;
    form->setVerticalSpacing(2);
    int row = 0, col = 0;
    for (const auto& c : BookColumns()) {
        const std::string column = c.column;
        auto* label = new QLabel(Q(c.label), tab);
        QWidget* box = nullptr;
        if (IsFlag(column)) {
            auto* check = new QCheckBox(tab);
            bookFlags_[column] = check;
            box = check;
        } else if (CodeListOf(column)) {
            auto* combo = new QComboBox(tab);
            combo->setMaxVisibleItems(15);
            bookCodes_[column] = combo;
            box = combo;
        } else {
            auto* edit = new QLineEdit(tab);
            bookBoxes_[column] = edit;
            box = edit;
        }
        box->setObjectName(QStringLiteral("Book_") + Q(column));
        const bool wide = column == "syomei2" || column == "syomei3" || column == "syomei1" ||
                          column == "kenmei1" || column == "URL";
        if (wide && col == 1) ++row, col = 0;
        form->addWidget(label, row, col * 2);
        form->addWidget(box, row, col * 2 + 1, 1, wide ? 3 : 1);
        if (wide || col == 1)
            ++row, col = 0;
        else
            col = 1;
    }
    right->addLayout(form);
    Label2 = new QLabel(tab);
    Label2->setObjectName("Label2");
    Label2->setWordWrap(true);
    right->addWidget(Label2);
    auto* lookupRow = new QHBoxLayout;
    lookupRow->addWidget(new QLabel(QStringLiteral("ISBNの検索先"), tab));
    ComboBox2 = new QComboBox(tab);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->addItems(
        {QStringLiteral("国会図書"), QStringLiteral("楽天book"), QStringLiteral("日書連")});
    lookupRow->addWidget(ComboBox2);
    lookupRow->addWidget(
        new QLabel(QStringLiteral("（ISBNを入れて Enter で空いている欄を埋めます）"), tab), 1);
    right->addLayout(lookupRow);
    auto* buttons = new QGridLayout;
    const std::pair<const char*, const char*> kButtons[] = {{"Button4", "保存"},
                                                            {"Button5", "新しい本"},
                                                            {"Button6", "同じ本をもう1冊"},
                                                            {"Button11", "ラベル印刷"},
                                                            {"Button7", "除籍"},
                                                            {"Button8", "除籍の取り消し"},
                                                            {"Button9", "削除"},
                                                            {"Button10", "貸出の記録（職員用）"}};
    int i = 0;
    for (const auto& [name, text] : kButtons) {
        buttons->addWidget(NewButton(name, QString::fromUtf8(text), tab), i / 4, i % 4);
        ++i;
    }
    right->addLayout(buttons);
    auto* discardRow = new QHBoxLayout;
    discardRow->addWidget(new QLabel(QStringLiteral("除籍の理由"), tab));
    auto* reason = new QLineEdit(tab);
    reason->setObjectName("Edit3");
    LimitBox(reason, 100, false);
    discardRow->addWidget(reason, 1);
    auto* day = new QDateEdit(QDate::currentDate(), tab);
    day->setObjectName("DateEdit3");
    day->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    day->setCalendarPopup(true);
    discardRow->addWidget(day);
    right->addLayout(discardRow);
    right->addStretch(1);
    body->addLayout(right, 8);
    layout->addLayout(body, 1);

    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        const auto book = LayoutOf(*connection, "Book");
        for (auto& [column, box] : bookBoxes_) {
            auto index = book.FindColumn(column);
            const int bytes = index && engine::IsTextType(book.columns[*index].type.type)
                                  ? book.columns[*index].type.size
                                  : 0;
            const bool number = column == "BOOK_ID" || column == "ISBN" || column == "kakaku" ||
                                column == "tourokubi" || column == "yobi1_ID";
            LimitBox(box, bytes, column == "key1" || column == "key2", number);
        }
        FillCodeChoices();
    });
    BookBox("BOOK_ID")->setReadOnly(true);
    BookBox("ISBN")->installEventFilter(new EnterFilter(this, [this] { LookupIsbn(); }));
    Edit1->installEventFilter(new EnterFilter(this, [this] { Button1Click(); }));
    Guarded([&] {
        DataSetCloser closer(TDM::Instance().Head);
        TDM::Instance().Head.Open();
        ComboBox2->setCurrentIndex(std::clamp(
            static_cast<int>(TDM::Instance().Head.FieldByName("PM8").AsInteger()), 0, 2));
    });
    connect(search, &QPushButton::clicked, this, &TZousho::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (page_ > 0) --page_, ShowHitsPage();
    });
    connect(Button3, &QPushButton::clicked, this, [this] {
        if ((page_ + 1) * kPage < hits_.size()) ++page_, ShowHitsPage();
    });
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TZousho::SortHits);
    auto click = [&](const char* name, void (TZousho::*handler)()) {
        connect(tab->findChild<QPushButton*>(name), &QPushButton::clicked, this, handler);
    };
    click("Button4", &TZousho::Button4Click);
    click("Button5", &TZousho::Button5Click);
    click("Button6", &TZousho::Button6Click);
    click("Button7", &TZousho::Button7Click);
    click("Button8", &TZousho::Button8Click);
    click("Button9", &TZousho::Button9Click);
    click("Button10", &TZousho::Button10Click);
    click("Button11", &TZousho::Button11Click);
    click("Button12", &TZousho::Button12Click);
    click("Button13", &TZousho::Button13Click);
    hitRows_.AfterScroll = [this](engine::TDataSet& rows) {
        if (rows.RecordCount() == 0 || showingPage_) return;
        const int64_t number = rows.FieldByName("BOOK_ID").AsInteger();
        if (number != bookNumber_) ShowBook(number);
    };
    return tab;
}

void TZousho::FillCodeChoices() {
    PlaceConnection connection(DeskDataPlace());
    for (auto& [column, combo] : bookCodes_) {
        combo->clear();
        combo->addItem(QStringLiteral("（なし）"), QString());
        for (const auto& entry : ReadCodes(*connection, *CodeListOf(column)))
            combo->addItem(Q(entry.codeText + " " + entry.name), Q(entry.codeText));
    }
}

void TZousho::Button1Click() {
    BookQuery query{Edit1->text().toStdString(), ComboBox1->currentIndex() == 1, {}, {}};
    if (CheckBox1->isChecked()) {
        query.registeredFrom = FromQDate(DateEdit1->date());
        query.registeredTo = FromQDate(DateEdit2->date());
    }
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        hits_ = SearchBooks(*connection, query);
    });
    page_ = 0;
    ShowHitsPage();
    if (hits_.empty()) Label1->setText(QStringLiteral("見つかりませんでした"));
}

void TZousho::ShowHitsPage() {
    std::vector<std::vector<engine::Value>> rows;
    const size_t first = page_ * kPage;
    for (size_t i = first; i < hits_.size() && i < first + kPage; ++i)
        rows.push_back(BookHitRow(hits_[i]));
    showingPage_ = true;
    hitRows_.SetRows(std::move(rows));
    if (!hitRows_.Active()) hitRows_.Open();
    showingPage_ = false;
    Label1->setText(hits_.empty() ? QString()
                                  : QStringLiteral("%1〜%2件目（全%3件）")
                                        .arg(first + 1)
                                        .arg(std::min(hits_.size(), first + kPage))
                                        .arg(hits_.size()));
    Button2->setEnabled(page_ > 0);
    Button3->setEnabled(first + kPage < hits_.size());
    if (!hits_.empty() && first < hits_.size()) ShowBook(hits_[first].number);
}

// A click on a column's title sorts every book found by it (again: the
// other way round).
void TZousho::SortHits(int column) {
    static int last = -1;
    static bool down = false;
    down = column == last ? !down : false;
    last = column;
    auto key = [column](const BookHit& hit) -> std::string {
        switch (column) {
            case 1:
                return hit.title;
            case 2:
                return hit.authors;
            case 3:
                return hit.publisher;
            case 4:
                return hit.callNumber;
            case 5:
                return hit.place;
            case 6:
                return hit.registered ? engine::FormatDate(*hit.registered) : "";
            case 7:
                return StateText(hit);
            default:
                return "";
        }
    };
    std::stable_sort(hits_.begin(), hits_.end(), [&](const BookHit& a, const BookHit& b) {
        const bool less = column == 0 ? a.number < b.number : key(a) < key(b);
        const bool more = column == 0 ? b.number < a.number : key(b) < key(a);
        return down ? more : less;
    });
    page_ = 0;
    ShowHitsPage();
}

void TZousho::FillBookForm(const BookFields& fields) {
    auto text = [&](const std::string& column) {
        auto it = fields.find(column);
        return it == fields.end() ? QString() : Q(it->second);
    };
    for (auto& [column, box] : bookBoxes_) box->setText(text(column));
    for (auto& [column, check] : bookFlags_) check->setChecked(text(column) == "True");
    for (auto& [column, combo] : bookCodes_) {
        int index = combo->findData(text(column));
        if (index < 0 && (text(column).isEmpty() || text(column) == "0")) index = 0;
        if (index < 0) {  // a code its list lacks: shown as it is
            combo->addItem(text(column) + QStringLiteral("（一覧にないコード）"), text(column));
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    }
}

BookFields TZousho::BookForm() const {
    BookFields fields;
    for (const auto& [column, box] : bookBoxes_)
        fields[column] = box->text().trimmed().toStdString();
    for (const auto& [column, check] : bookFlags_)
        fields[column] = check->isChecked() ? "True" : "False";
    for (const auto& [column, combo] : bookCodes_)
        fields[column] = combo->currentData().toString().toStdString();
    return fields;
}

void TZousho::ShowBook(int64_t number) {
    bookNumber_ = number;
    newBook_ = false;
    loaded_.clear();
    BookBox("BOOK_ID")->setReadOnly(true);
    Label2->clear();
    if (number == 0 || !Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            auto book = ReadBook(*connection, number);
            if (!book)
                throw Refused("図書番号 " + std::to_string(number) + " の本はもうありません");
            loaded_ = *book;
            std::string state = "図書番号 " + std::to_string(number);
            if ((*book)["kashidashiF"] == "True") state += "　貸出中";
            if ((*book)["yoyakuF"] == "True") state += "　予約あり";
            if ((*book)["haikiF"] == "True") {
                state += "　除籍 " + (*book)["haiki_date"];
                if (auto discard = DiscardOf(*connection, number);
                    discard && !discard->reason.empty())
                    state += "（" + discard->reason + "）";
            }
            Label2->setText(Q(state));
        })) {
        bookNumber_ = 0;
        loaded_.clear();
    }
    FillBookForm(loaded_);
    for (const char* name : {"Button6", "Button7", "Button8", "Button9", "Button10", "Button11"})
        findChild<QPushButton*>(name)->setEnabled(bookNumber_ != 0);
    findChild<QPushButton*>("Button4")->setEnabled(bookNumber_ != 0 || newBook_);
}

void TZousho::Button4Click() {
    const BookFields form = BookForm();
    if (newBook_) {
        int64_t added = 0;
        if (!Guarded([&] {
                PlaceConnection connection(DeskDataPlace());
                added = AddBook(*connection, form);
            }))
            return;
        ShowBook(added);
        Dialogs::Information(this, QStringLiteral("図書番号 %1 の本を登録しました。").arg(added));
        return;
    }
    if (bookNumber_ == 0) return;
    std::vector<std::string> written;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            written = SaveBook(*connection, bookNumber_, loaded_, form);
        }))
        return;
    const int64_t number = bookNumber_;
    ShowBook(number);
    Dialogs::Information(
        this, written.empty() ? QStringLiteral("変わったところはありません。")
                              : QStringLiteral("保存しました（%1か所）。").arg(written.size()));
}

void TZousho::Button5Click() {
    ShowBook(0);
    newBook_ = true;
    BookFields fields;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        fields["BOOK_ID"] = std::to_string(NextBookNumber(*connection));
    });
    fields["tourokubi"] = engine::FormatDate(engine::Today());
    FillBookForm(fields);
    BookBox("BOOK_ID")->setReadOnly(false);
    findChild<QPushButton*>("Button4")->setEnabled(true);
    Label2->setText(
        QStringLiteral("新しい本: ISBN を入れて Enter で書誌を探せます。入れ終えたら「保存」。"));
    BookBox("ISBN")->setFocus();
}

// Enter in the ISBN box: the quick registration's lookup of the chosen
// source, filling only the boxes still empty (and the call number and class
// by its rules).
void TZousho::LookupIsbn() {
    std::string digits;
    for (QChar c : BookBox("ISBN")->text())
        if (c >= '0' && c <= '9') digits += static_cast<char>(c.unicode());
    if (digits.size() != 12 && digits.size() != 13) {
        BookBox("syomei2")->setFocus();
        return;
    }
    catalogue::MemoryBookRecord record;
    const BookFields form = BookForm();
    for (const auto& [column, text] : form)
        if (!text.empty() && text != "False") record.Set(column, text);
    catalogue::LookupContext context{
        record, [this](const std::string& message) { Dialogs::Information(this, Q(message)); }};
    static const std::function<void(const std::string&, catalogue::LookupContext&)> kSources[] = {
        catalogue::LookupNdl, catalogue::LookupRakuten, catalogue::LookupMarc};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        kSources[std::clamp(ComboBox2->currentIndex(), 0, 2)](digits, context);
    } catch (const catalogue::LookupAbandoned&) {
        QApplication::restoreOverrideCursor();
        return;
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        Dialogs::ShowEngineError(this, error);
        return;
    }
    QApplication::restoreOverrideCursor();
    BookFields filled = form;
    for (const auto& [column, text] : record.Columns())
        if (filled[column].empty() || filled[column] == "0") filled[column] = text;
    FillBookForm(filled);
    BookBox("syomei2")->setFocus();
}

void TZousho::Button6Click() {
    if (bookNumber_ == 0) return;
    int64_t copy = 0;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            copy = AddCopy(*connection, bookNumber_);
        }))
        return;
    ShowBook(copy);
    if (Dialogs::Question(
            this,
            QStringLiteral("同じ本を図書番号 %1 で登録しました。ラベルを印刷しますか？").arg(copy),
            Dialogs::Yes | Dialogs::No) == Dialogs::Yes)
        Button11Click();
}

void TZousho::Button7Click() {
    if (bookNumber_ == 0) return;
    const QString reason = findChild<QLineEdit*>("Edit3")->text().trimmed();
    const QDate day = findChild<QDateEdit*>("DateEdit3")->date();
    const QString question =
        QStringLiteral("図書番号 %1「%2」を %3 付けで除籍します%4。よろしいですか？")
            .arg(bookNumber_)
            .arg(Q(loaded_["syomei2"]), day.toString(QStringLiteral("yyyy/MM/dd")),
                 reason.isEmpty() ? QString() : QStringLiteral("（理由: %1）").arg(reason));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    const int64_t number = bookNumber_;
    if (Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            DiscardBook(*connection, number, FromQDate(day), reason.toStdString());
        }))
        findChild<QLineEdit*>("Edit3")->clear();
    ShowBook(number);
}

void TZousho::Button8Click() {
    if (bookNumber_ == 0) return;
    const int64_t number = bookNumber_;
    Guarded([&] {
        PlaceConnection connection(DeskDataPlace());
        RestoreBook(*connection, number, engine::Today());
    });
    ShowBook(number);
}

void TZousho::Button9Click() {
    if (bookNumber_ == 0) return;
    // A book that was lent or is reserved: said at once, no question first.
    std::optional<std::string> refusal;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            refusal = BookDeleteRefusal(*connection, bookNumber_);
        }))
        return;
    if (refusal) {
        Dialogs::Warning(this, Q(*refusal));
        return;
    }
    const QString question =
        QStringLiteral("図書番号 %1「%2」を蔵書から削除します。元に戻せません。よろしいですか？")
            .arg(bookNumber_)
            .arg(Q(loaded_["syomei2"]));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Warning,
                          Dialogs::No) != Dialogs::Yes)
        return;
    const int64_t number = bookNumber_;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            DeleteBook(*connection, number);
        }))
        return;
    hits_.erase(std::remove_if(hits_.begin(), hits_.end(),
                               [&](const BookHit& hit) { return hit.number == number; }),
                hits_.end());
    ShowHitsPage();
    if (hits_.empty()) ShowBook(0);
}

// Who borrowed the book: shown only on this click, which says so.
void TZousho::Button10Click() {
    if (bookNumber_ == 0) return;
    const QString question = QStringLiteral(
        "この本を借りた人の名前と日付を表示します。\n"
        "だれが何を読んだかは利用者のプライバシーです。必要なときだけ見て、"
        "ほかの人に見せないでください。表示しますか？");
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                          Dialogs::No) != Dialogs::Yes)
        return;
    std::vector<std::vector<engine::Value>> rows;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            for (const auto& loan : LoansOfBook(*connection, bookNumber_))
                rows.push_back(BookLoanRow(loan));
        }))
        return;
    TZoushoRecords records(
        QStringLiteral("貸出の記録: 図書番号 %1「%2」").arg(bookNumber_).arg(Q(loaded_["syomei2"])),
        BookLoanColumns(), std::move(rows), this);
    Dialogs::Exec(records);
}

void TZousho::Button11Click() {
    if (bookNumber_ == 0) return;
    std::optional<reports::PreparedReport> report;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            std::vector<int64_t> unknown;
            auto books = BooksOfList(*connection, {bookNumber_}, unknown);
            auto sheet = reports::FindCellSheet("a4-44");
            report = LabelsReport(books, LabelKind::Barcode, *sheet, 0, SchoolName());
        }))
        return;
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

void TZousho::Button12Click() {
    if (hits_.empty()) {
        Dialogs::Warning(this, QStringLiteral("書き出す本がありません。先に検索してください。"));
        return;
    }
    std::vector<int64_t> numbers;
    for (const auto& hit : hits_) numbers.push_back(hit.number);
    std::string text;
    if (!Guarded([&] {
            PlaceConnection connection(DeskDataPlace());
            text = BooksCsv(*connection, numbers);
        }))
        return;
    SaveCsvAsked(this, text,
                 QStringLiteral("図書_%1.csv").arg(QDate::currentDate().toString("yyyyMMdd")));
}

void TZousho::Button13Click() {
    if (hits_.empty()) {
        Dialogs::Warning(this, QStringLiteral("印刷する本がありません。先に検索してください。"));
        return;
    }
    std::optional<reports::PreparedReport> report;
    const std::string what = Edit1->text().trimmed().isEmpty()
                                 ? std::string("すべての本")
                                 : "「" + Edit1->text().trimmed().toStdString() + "」で探した本";
    if (!Guarded([&] {
            auto head = reports::RowsSource(TDM::Instance().rptHead);
            report = BookListReport(hits_, what, *head);
        }))
        return;
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
