#include "library/inventory/U_Tenken.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTimer>

#include "data/U_DM.h"
#include "data/failure_text.h"
#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "exchange/scan_file.h"
#include "library/backup/backup_setting.h"
#include "library/inventory/U_TenkenBooks.h"
#include "library/inventory/inventory_file.h"
#include "library/inventory/inventory_prints.h"
#include "library/sql_rows.h"
#include "reports/preview_window.h"
#include "ui_U_Tenken.h"
#include "widgets/dialogs.h"
#include "widgets/progress_run.h"

namespace kashidashi {

using namespace library;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<RowsColumn> ListColumns() {
    using engine::FieldType;
    engine::ColumnType text{FieldType::String, 100};
    return {{"mark", text, "廃棄"},
            {"BOOK_ID", {FieldType::Integer}, "図書番号", "0000000"},
            {"syomei2", text, "書名"},
            {"seikyu", text, "請求記号"},
            {"HKN", text, "保管場所"}};
}

// The colours of Label2: what needs a look is red and bold.
void Colour(QLabel& label, bool loud) {
    label.setStyleSheet(loud ? QStringLiteral("color: #c00000; font-weight: bold;")
                             : QStringLiteral("color: #006000; font-weight: bold;"));
}

QString DecisionText(ScanAnswer answer) {
    switch (answer) {
        case ScanAnswer::OnLoan:
            return QStringLiteral("貸出中の記録あり");
        case ScanAnswer::Discarded:
            return QStringLiteral("廃棄済みの記録あり");
        case ScanAnswer::Unknown:
            return QStringLiteral("登録されていない番号");
        case ScanAnswer::SeveralCopies:
            return QStringLiteral("同じISBNが複数（ラベルを読む）");
        default:
            return QStringLiteral("図書番号として読めません");
    }
}

}  // namespace

TTenken::TTenken(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TTenken>()), rows_("MissingList", ListColumns()) {
    ui->setupUi(this);
    // A reader ends each label with Enter: no button may take it as its click
    // (a dialog's first button would otherwise start the check again).
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    ui->DBGrid1->SetDataSource(&source_);
    const std::pair<const char*, int> columns[] = {
        {"mark", 40}, {"BOOK_ID", 70}, {"syomei2", 280}, {"seikyu", 110}, {"HKN", 110}};
    for (const auto& [field, width] : columns) ui->DBGrid1->AddColumn(field, width);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    ui->DBGrid1->ExcelSheetName = QStringLiteral("蔵書点検");
    connect(ui->Edit1, &QLineEdit::returnPressed, this, &TTenken::Edit1Enter);
    connect(ui->Button1, &QPushButton::clicked, this, &TTenken::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TTenken::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TTenken::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TTenken::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, [this] { ui->DBGrid1->CopyExcel(); });
    connect(ui->Button6, &QPushButton::clicked, this, &TTenken::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TTenken::Button7Click);
    connect(ui->Button8, &QPushButton::clicked, this, &TTenken::Button8Click);
    connect(ui->Button9, &QPushButton::clicked, this, &TTenken::Button9Click);
    connect(ui->Button10, &QPushButton::clicked, this, [this] {
        if (connection_) ShowLostBooks(this, **connection_);
    });
    connect(ui->Button11, &QPushButton::clicked, this, [this] {
        if (connection_) ShowWriteOffs(this, **connection_);
        Refresh();
    });
    connect(ui->Button12, &QPushButton::clicked, this, [this] {
        if (connection_) ShowYearSummary(this, **connection_);
    });
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    // The reader types into Edit1: after any click (a button, the grid, a
    // list) the focus goes back there, once the click is over.
    for (auto* button : findChildren<QPushButton*>())
        if (button != ui->BitBtn1)
            connect(button, &QPushButton::clicked, this, &TTenken::BackToScan);
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
             ui->DBGrid1, ui->TableWidget1, ui->TableWidget2, ui->ListWidget1})
        view->viewport()->installEventFilter(this);
    connect(ui->ComboBox1, QOverload<int>::of(&QComboBox::activated), this, &TTenken::BackToScan);
    // One line a row, the numbers and the groups readable at a glance.
    for (auto* table : {ui->TableWidget1, ui->TableWidget2}) {
        table->verticalHeader()->setVisible(false);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        table->setWordWrap(false);
        table->horizontalHeader()->setStretchLastSection(true);
    }
    const std::pair<QTableWidget*, std::vector<int>> widths[] = {{ui->TableWidget1, {170, 70, 70}},
                                                                 {ui->TableWidget2, {70, 170}}};
    for (const auto& [table, columns] : widths)
        for (size_t c = 0; c < columns.size(); ++c)
            table->setColumnWidth(static_cast<int>(c), columns[c]);
    try {
        connection_ = std::make_unique<PlaceConnection>(DeskDataPlace());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    Refresh();
    BackToScan();  // a running check: the reader types at once
}

TTenken::~TTenken() = default;

bool TTenken::eventFilter(QObject* watched, QEvent* event) {
    // A click in a list chooses its row; the reader's next label goes to Edit1.
    if (event->type() == QEvent::MouseButtonRelease) BackToScan();
    return QDialog::eventFilter(watched, event);
}

void TTenken::BackToScan() {
    QTimer::singleShot(0, this, [this] {
        if (ui->Edit1->isEnabled()) ui->Edit1->setFocus(Qt::OtherFocusReason);
    });
    if (ui->Edit1->isEnabled()) ui->Edit1->setFocus(Qt::OtherFocusReason);
}

void TTenken::Refresh() {
    try {
        if (connection_) {
            state_ = ReadInventoryState(**connection_);
            scope_ = ReadInventoryScope(**connection_);
            model_.Load(**connection_);
        }
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    if (ui->ComboBox1->count() == 0) FillScopes();
    ShowState();
    ShowProgress();
    ShowMissing();
}

// The scopes a new check may take: the whole, each storage place, each class.
void TTenken::FillScopes() {
    ui->ComboBox1->addItem(QStringLiteral("全体"));
    if (!connection_) return;
    try {
        for (const auto& row :
             SelectRows(**connection_, "Select HKN_ID, HKN From HKN Order By HKN_ID").rows)
            ui->ComboBox1->addItem(QStringLiteral("保管場所 ") + Q(TextOf(row.values[1])),
                                   QVariant::fromValue(IntegerOf(row.values[0])));
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    for (int hundreds = 0; hundreds < 10; ++hundreds)
        ui->ComboBox1->addItem(QStringLiteral("NDC %1〜%2")
                                   .arg(hundreds * 100, 3, 10, QLatin1Char('0'))
                                   .arg(hundreds * 100 + 99),
                               QVariant::fromValue(QStringLiteral("%1").arg(hundreds)));
}

void TTenken::ShowState() {
    QString text = QStringLiteral("点検は始まっていません。");
    if (state_.running && connection_) {
        text = QStringLiteral("点検中（%1 開始").arg(Q(engine::FormatDate(*state_.startedOn)));
        if (!scope_.Whole()) text += QStringLiteral("、") + Q(ScopeText(**connection_, scope_));
        text += QStringLiteral("）");
    }
    ui->Label1->setText(text);
    ui->Edit1->setEnabled(state_.running);
    ui->Button2->setEnabled(state_.running);
    ui->Button3->setEnabled(state_.running);
}

void TTenken::ShowProgressLine(int row, const ProgressLine& line) {
    const int percent = line.toCheck ? line.checked * 100 / line.toCheck : 0;
    const QString cells[] = {Q(line.group), QString::number(line.checked),
                             QString::number(line.toCheck), QStringLiteral("%1%").arg(percent)};
    auto* table = ui->TableWidget1;
    for (int c = 0; c < 4; ++c) {
        if (auto* item = table->item(row, c))
            item->setText(cells[c]);
        else
            table->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
}

void TTenken::ShowProgress() {
    const auto& progress = model_.Progress();
    std::vector<ProgressLine> lines{{"全体", progress.checked, progress.toCheck}};
    for (const auto& line : progress.byPlace)
        lines.push_back({"保管場所 " + line.group, line.checked, line.toCheck});
    for (const auto& line : progress.byClass)
        lines.push_back({"NDC " + line.group, line.checked, line.toCheck});
    ui->TableWidget1->setRowCount(static_cast<int>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) ShowProgressLine(static_cast<int>(i), lines[i]);
}

void TTenken::ShowMissing() {
    std::vector<std::vector<engine::Value>> rows;
    rows.reserve(model_.Missing().size());
    for (const auto& book : model_.Missing())
        rows.push_back({engine::Value(chosen_.count(book.number) ? "○" : ""),
                        engine::Value(book.number), engine::Value(book.title),
                        engine::Value(book.callNumber), engine::Value(book.place)});
    rows_.SetRows(std::move(rows));
    if (!rows_.Active()) rows_.Open();
    ShowMissingCount();
}

void TTenken::ShowMissingCount() {
    ui->Label3->setText(QStringLiteral("見つかっていない図書 %1 冊（廃棄に選んだ図書 %2 冊）")
                            .arg(model_.Missing().size())
                            .arg(chosen_.size()));
}

// One book found: its progress lines and its row of the list, no more.
void TTenken::ApplyFound(int64_t number) {
    auto change = model_.Found(number);
    if (!change.counted) return;
    const auto& progress = model_.Progress();
    ShowProgressLine(0, {"全体", progress.checked, progress.toCheck});
    const int places = static_cast<int>(progress.byPlace.size());
    if (change.placeLine) {
        auto line = progress.byPlace[*change.placeLine];
        line.group = "保管場所 " + line.group;
        ShowProgressLine(1 + static_cast<int>(*change.placeLine), line);
    }
    if (change.classLine) {
        auto line = progress.byClass[*change.classLine];
        line.group = "NDC " + line.group;
        ShowProgressLine(1 + places + static_cast<int>(*change.classLine), line);
    }
    if (change.missingRow) {
        rows_.RemoveRow(*change.missingRow);
        ShowMissingCount();
    }
}

void TTenken::Edit1Enter() {
    const std::string text = ui->Edit1->text().toStdString();
    ui->Edit1->clear();
    if (!desk::Digits(text).empty()) Scan(text);
}

void TTenken::Scan(const std::string& text) {
    if (!connection_) return;
    try {
        last_ = ScanText(**connection_, text);
    } catch (const std::exception& error) {
        // The scan was not stored: said beside the entry, the reader goes on.
        ui->Label2->setText(QStringLiteral("読み取れませんでした。もう一度読んでください: ") +
                            Q(text) + QStringLiteral("\n") + Q(FailureText(error)));
        Colour(*ui->Label2, true);
        return;
    }
    ShowAnswer(last_);
    if (last_.answer == ScanAnswer::Checked) ApplyFound(last_.book.number);
    if (IsLoud(last_.answer)) AddDecision(last_, Q(text));
}

void TTenken::ShowAnswer(const ScanResult& result) {
    QString text = Q(AnswerText(result));
    if (result.wasLost) text += QStringLiteral("（不明だった図書です。不明の記録を消しました）");
    ui->Label2->setText(text);
    Colour(*ui->Label2, IsLoud(result.answer));
    if (result.answer == ScanAnswer::Unknown)
        ui->ListWidget1->addItem(result.isbn.empty() ? Q(desk::BookNumberText(result.book.number))
                                                     : Q(result.isbn));
}

// A line of 確認が必要な図書: the book (or the scan), what to decide; the
// answer kept in the first cell's data for the buttons.
void TTenken::AddDecision(const ScanResult& result, const QString& scan) {
    if (result.answer == ScanAnswer::NoNumber) return;
    auto* table = ui->TableWidget2;
    const int row = table->rowCount();
    table->insertRow(row);
    const bool named = result.book.number != 0 || result.isbn.empty();
    auto* number = new QTableWidgetItem(named ? Q(desk::BookNumberText(result.book.number)) : scan);
    number->setData(Qt::UserRole, static_cast<int>(result.answer));
    number->setData(Qt::UserRole + 1, QVariant::fromValue(result.book.number));
    table->setItem(row, 0, number);
    table->setItem(row, 1, new QTableWidgetItem(Q(result.book.title)));
    table->setItem(row, 2, new QTableWidgetItem(DecisionText(result.answer)));
    for (int c = 0; c < 3; ++c) table->item(row, c)->setForeground(QColor(0xc0, 0, 0));
    if (table->currentRow() < 0) table->selectRow(row);
    ui->Label6->setText(QStringLiteral("確認が必要な図書 %1 件").arg(table->rowCount()));
}

// The chosen line of the list when it is of `answer`, else -1 (and why, beside the entry).
int TTenken::CurrentDecision(ScanAnswer answer) {
    const int row = ui->TableWidget2->currentRow();
    auto* item = row < 0 ? nullptr : ui->TableWidget2->item(row, 0);
    if (item && item->data(Qt::UserRole).toInt() == static_cast<int>(answer)) return row;
    ui->Label2->setText(answer == ScanAnswer::OnLoan
                            ? QStringLiteral("返却するのは、貸出中の記録がある図書の行です。")
                            : QStringLiteral("取り消すのは、廃棄済みの記録がある図書の行です。"));
    Colour(*ui->Label2, true);
    return -1;
}

void TTenken::RemoveDecision(int row) {
    ui->TableWidget2->removeRow(row);
    const int rows = ui->TableWidget2->rowCount();
    ui->Label6->setText(rows ? QStringLiteral("確認が必要な図書 %1 件").arg(rows)
                             : QStringLiteral("確認が必要な図書"));
}

// 返却する: the desk's return of a book found on the shelf while recorded as lent.
void TTenken::Button7Click() {
    const int row = CurrentDecision(ScanAnswer::OnLoan);
    if (row < 0 || !connection_) return;
    const int64_t number = ui->TableWidget2->item(row, 0)->data(Qt::UserRole + 1).toLongLong();
    try {
        ReturnFoundBook(**connection_, number, engine::Today());
        QString text = Q("返却しました: " + desk::BookNumberText(number));
        if (ReservationsWaiting(**connection_, number))
            text += QStringLiteral("　この図書には予約があります。予約した人に知らせてください。");
        ui->Label2->setText(text);
        Colour(*ui->Label2, false);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    RemoveDecision(row);
    Refresh();
}

// 廃棄を取り消す: a write-off of 完了 undone for a book that turned up.
void TTenken::Button8Click() {
    const int row = CurrentDecision(ScanAnswer::Discarded);
    if (row < 0 || !connection_) return;
    const int64_t number = ui->TableWidget2->item(row, 0)->data(Qt::UserRole + 1).toLongLong();
    RestoreAnswer answer{};
    try {
        answer = RestoreWrittenOff(**connection_, number, engine::Today());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    ui->Label2->setText(Q(RestoreText(answer, number)));
    Colour(*ui->Label2, answer != RestoreAnswer::Restored);
    if (answer != RestoreAnswer::Restored) return;
    RemoveDecision(row);
    Refresh();
}

void TTenken::Button9Click() {
    const int row = ui->TableWidget2->currentRow();
    if (row >= 0) RemoveDecision(row);
}

void TTenken::Button1Click() {
    if (state_.running &&
        Dialogs::Question(this,
                          QStringLiteral("%1 に始めた点検が終わっていません。\r\n点検の記録を消して"
                                         "新しく始めますか。")
                              .arg(Q(engine::FormatDate(*state_.startedOn))),
                          Dialogs::Yes | Dialogs::No) != Dialogs::Yes)
        return;
    if (!connection_) return;
    InventoryScope scope;
    const QVariant choice = ui->ComboBox1->currentData();
    if (choice.typeId() == QMetaType::QString) {
        scope.ndcFrom = choice.toString().toInt() * 100;
        scope.ndcTo = *scope.ndcFrom + 99;
    } else if (choice.isValid()) {
        scope.place = choice.toLongLong();
    }
    try {
        StartInventory(**connection_, engine::Today(), scope);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    chosen_.clear();
    ui->ListWidget1->clear();
    ui->TableWidget2->setRowCount(0);
    RemoveDecision(-1);
    Refresh();
}

void TTenken::Button2Click() {
    QFileDialog dialog(this, QStringLiteral("読取器のファイル"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (Dialogs::Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    ReadReaderFile(dialog.selectedFiles().front());
}

void TTenken::ReadReaderFile(const QString& path) {
    if (!connection_ || !state_.running) return;  // scans belong to a running check
    FileRun run;
    try {
        const std::string text = exchange::ReadReaderFile(path.toStdString());
        auto take = [&](bool again) {
            RunWithProgress(*this, *ui->ProgressBar1, [&](const WorkProgress& progress) {
                run = ScanReaderFile(**connection_, text, again, [&](size_t done, size_t total) {
                    progress(static_cast<int64_t>(done), static_cast<int64_t>(total));
                });
            });
        };
        try {
            take(false);
        } catch (const FileTakenBefore& taken) {
            if (Dialogs::Question(this,
                                  Q(taken.what()) + QStringLiteral("\r\nもう一度読み込みますか。"),
                                  Dialogs::Yes | Dialogs::No) != Dialogs::Yes) {
                BackToScan();
                return;
            }
            take(true);
        }
    } catch (const std::exception& error) {
        Dialogs::Error(
            this, QStringLiteral("ファイルを読み込めませんでした。\r\n") + Q(FailureText(error)));
        Refresh();
        return;
    }
    for (const auto& scan : run.scans) {
        if (scan.result.answer == ScanAnswer::Unknown)
            ui->ListWidget1->addItem(scan.result.isbn.empty()
                                         ? Q(desk::BookNumberText(scan.result.book.number))
                                         : Q(scan.result.isbn));
        if (IsLoud(scan.result.answer)) AddDecision(scan.result, Q(scan.line.scan));
    }
    Refresh();
    QString summary = Q(SummaryText(Summarise(run.scans)));
    if (run.skipped)
        summary += QStringLiteral("\r\n（前に読み込んだ %1 行は飛ばしました）").arg(run.skipped);
    Dialogs::Information(this, summary);
    BackToScan();
}

void TTenken::Button6Click() {
    if (!rows_.Active() || rows_.RecordCount() == 0) return;
    const int64_t number = rows_.FieldByName("BOOK_ID").AsInteger();
    if (!chosen_.erase(number)) chosen_.insert(number);
    ShowMissing();
}

void TTenken::Button3Click() {
    const QString text =
        chosen_.empty() ? QStringLiteral("点検を完了しますか。（廃棄にする図書はありません）")
                        : QStringLiteral("点検を完了し、選んだ %1 冊を今日の日付で廃棄にしますか。")
                              .arg(chosen_.size());
    if (Dialogs::Question(this, text, Dialogs::Yes | Dialogs::No) != Dialogs::Yes) return;
    int written = 0, lost = 0;
    try {
        written = FinishInventory(**connection_, {chosen_.begin(), chosen_.end()}, engine::Today(),
                                  &lost);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    const size_t found = chosen_.size() - static_cast<size_t>(written);
    chosen_.clear();
    Refresh();
    QString done = QStringLiteral("点検を完了しました。");
    if (written) done += QStringLiteral("\r\n%1 冊を廃棄にしました。").arg(written);
    if (found)
        done += QStringLiteral("\r\n%1 冊はその間に見つかったので廃棄にしていません。").arg(found);
    if (lost)
        done +=
            QStringLiteral("\r\n見つからなかった %1 冊を不明としました（不明図書）。").arg(lost);
    Dialogs::Information(this, done);
}

void TTenken::Button4Click() {
    reports::PreparedReport report;
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        report = MissingBooksReport(model_.Missing(), state_.startedOn, *head);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    reports::TPreview preview(std::move(report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
