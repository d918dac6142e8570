#include "library/U_Tenken.h"

#include <QFileDialog>
#include <QInputDialog>
#include <fstream>
#include <sstream>

#include "data/U_DM.h"
#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "library/backup_setting.h"
#include "library/inventory_file.h"
#include "library/inventory_prints.h"
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

// The bytes of a reader's file; its lines in the desk's scan format.
std::vector<desk::ScanLine> ReaderLines(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) throw std::runtime_error("ファイル「" + path.toStdString() + "」を開けません。");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return desk::ParseScanFile(bytes.str());
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
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    try {
        connection_ = std::make_unique<PlaceConnection>(DeskDataPlace());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    Refresh();
}

TTenken::~TTenken() = default;

void TTenken::Refresh() {
    missing_.clear();
    InventoryProgress progress;
    try {
        if (connection_) {
            state_ = ReadInventoryState(**connection_);
            progress = ReadInventoryProgress(**connection_);
            missing_ = BooksNotFound(**connection_);
        }
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    ui->Label1->setText(
        state_.running
            ? QStringLiteral("点検中（%1 開始）").arg(Q(engine::FormatDate(*state_.startedOn)))
            : QStringLiteral("点検は始まっていません。"));
    ui->Edit1->setEnabled(state_.running);
    ui->Button2->setEnabled(state_.running);
    ui->Button3->setEnabled(state_.running);
    ShowProgress(progress);
    ShowMissing();
}

void TTenken::ShowProgress(const InventoryProgress& progress) {
    std::vector<ProgressLine> lines{{"全体", progress.checked, progress.toCheck}};
    for (const auto& line : progress.byPlace)
        lines.push_back({"保管場所 " + line.group, line.checked, line.toCheck});
    for (const auto& line : progress.byClass)
        lines.push_back({"NDC " + line.group, line.checked, line.toCheck});
    auto* table = ui->TableWidget1;
    table->setRowCount(static_cast<int>(lines.size()));
    for (int i = 0; i < table->rowCount(); ++i) {
        const auto& line = lines[static_cast<size_t>(i)];
        const int percent = line.toCheck ? line.checked * 100 / line.toCheck : 0;
        const QString cells[] = {Q(line.group), QString::number(line.checked),
                                 QString::number(line.toCheck), QStringLiteral("%1%").arg(percent)};
        for (int c = 0; c < 4; ++c) table->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
}

void TTenken::ShowMissing() {
    std::vector<std::vector<engine::Value>> rows;
    for (const auto& book : missing_)
        rows.push_back({engine::Value(chosen_.count(book.number) ? "○" : ""),
                        engine::Value(book.number), engine::Value(book.title),
                        engine::Value(book.callNumber), engine::Value(book.place)});
    rows_.SetRows(std::move(rows));
    if (!rows_.Active()) rows_.Open();
    ui->Label3->setText(QStringLiteral("見つかっていない図書 %1 冊（廃棄に選んだ図書 %2 冊）")
                            .arg(missing_.size())
                            .arg(chosen_.size()));
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
        if (last_.answer == ScanAnswer::SeveralCopies) {
            auto copy = ChooseCopy(last_.copies);
            if (!copy) return;
            last_ = ScanBookNumber(**connection_, *copy);
        }
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    ShowAnswer(last_);
    if (last_.answer == ScanAnswer::OnLoan) OfferReturn(last_);
    Refresh();
    ui->Edit1->setFocus();
}

void TTenken::ShowAnswer(const ScanResult& result) {
    const bool loud = IsLoud(result.answer);
    ui->Label2->setText(Q(AnswerText(result)));
    ui->Label2->setStyleSheet(loud ? QStringLiteral("color: #c00000; font-weight: bold;")
                                   : QStringLiteral("color: #006000;"));
    if (result.answer == ScanAnswer::Unknown) {
        ui->ListWidget1->addItem(result.book.number ? Q(desk::BookNumberText(result.book.number))
                                                    : QStringLiteral("（ISBN）"));
        Dialogs::Warning(this, Q(AnswerText(result)) + QStringLiteral("\r\n登録してください。"));
    } else if (result.answer == ScanAnswer::Discarded) {
        Dialogs::Warning(this, Q(AnswerText(result)));
    }
}

// The desk's 返却 of a book found on the shelf while recorded as lent.
void TTenken::OfferReturn(const ScanResult& result) {
    const QString text =
        QStringLiteral("%1\r\n貸出中の記録があります。返却処理をしますか。")
            .arg(Q(desk::BookNumberText(result.book.number) + " " + result.book.title));
    if (Dialogs::Question(this, text, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Warning) !=
        Dialogs::Yes)
        return;
    try {
        ReturnFoundBook(**connection_, result.book.number, engine::Today());
        ui->Label2->setText(Q("返却しました: " + desk::BookNumberText(result.book.number)));
        if (ReservationsWaiting(**connection_, result.book.number))
            Dialogs::Information(this, QStringLiteral("この図書には予約があります。\r\n"
                                                      "予約した人に知らせてください。"));
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

std::optional<int64_t> TTenken::ChooseCopy(const std::vector<int64_t>& copies) {
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("図書の選択"));
    dialog.setLabelText(
        QStringLiteral("このISBNの図書は複数あります。点検する図書を選んでください。"));
    QStringList items;
    for (int64_t copy : copies) items << Q(desk::BookNumberText(copy));
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (Dialogs::Exec(dialog) != QDialog::Accepted) return std::nullopt;
    const auto index = items.indexOf(dialog.textValue());
    if (index < 0) return std::nullopt;
    return copies[static_cast<size_t>(index)];
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
    try {
        StartInventory(**connection_, engine::Today());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    chosen_.clear();
    ui->ListWidget1->clear();
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
    std::vector<FileScan> scans;
    try {
        auto lines = ReaderLines(path);
        RunWithProgress(*this, *ui->ProgressBar1, [&](const WorkProgress& progress) {
            scans = ScanReaderLines(**connection_, lines, [&](size_t done, size_t total) {
                progress(static_cast<int64_t>(done), static_cast<int64_t>(total));
            });
        });
    } catch (const std::exception& error) {
        Dialogs::Error(this,
                       QStringLiteral("ファイルを読み込めませんでした。\r\n") + Q(error.what()));
        Refresh();
        return;
    }
    for (const auto& scan : scans)
        if (scan.result.answer == ScanAnswer::Unknown) ui->ListWidget1->addItem(Q(scan.line.scan));
    Refresh();
    Dialogs::Information(this, Q(SummaryText(Summarise(scans))));
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
    int written = 0;
    try {
        written = FinishInventory(**connection_, {chosen_.begin(), chosen_.end()}, engine::Today());
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
    Dialogs::Information(this, done);
}

void TTenken::Button4Click() {
    reports::PreparedReport report;
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        report = MissingBooksReport(missing_, state_.startedOn, *head);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    reports::TPreview preview(std::move(report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
