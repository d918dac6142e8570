#include "library/inventory/U_TenkenBooks.h"

#include <QDate>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "data/U_DM.h"
#include "data/data_source.h"
#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "grid/LibXGrid.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_prints.h"
#include "library/inventory/inventory_summary.h"
#include "library/rows_dataset.h"
#include "reports/preview_window.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

using namespace library;
using engine::Value;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// One list: a grid over computed rows, 印刷 and エクセル出力, and room for
// the buttons of its own.
class TTenkenBooks : public QDialog {
  public:
    TTenkenBooks(QWidget* parent, const QString& title, std::vector<RowsColumn> columns)
        : QDialog(parent), rows_("TenkenBooks", columns) {
        setObjectName(QStringLiteral("TTenkenBooks"));
        setWindowTitle(title);
        resize(900, 560);
        auto* layout = new QVBoxLayout(this);
        top = new QHBoxLayout;
        Label1 = new QLabel(this);
        Label1->setObjectName(QStringLiteral("Label1"));
        top->addWidget(Label1, 1);
        layout->addLayout(top);
        grid = new TLibXGrid(this);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->SetDataSource(&source_);
        for (const auto& column : columns)
            grid->AddColumn(column.name, column.type.type == engine::FieldType::String ? 160 : 90);
        grid->SetReadOnly(true);
        grid->SetOptions(grid->Options() | dgRowSelect);
        grid->ExcelSheetName = title;
        layout->addWidget(grid, 1);
        buttons = new QHBoxLayout;
        buttons->addStretch();
        auto* close = new QPushButton(QStringLiteral("閉じる"), this);
        close->setObjectName(QStringLiteral("BitBtn1"));
        close->setAutoDefault(false);
        buttons->addWidget(close);
        auto* print = Button("Button1", QStringLiteral("印刷"));
        auto* excel = Button("Button2", QStringLiteral("エクセル出力"));
        layout->addLayout(buttons);
        connect(print, &QPushButton::clicked, this, [this] { Print(); });
        connect(excel, &QPushButton::clicked, this, [this] { grid->CopyExcel(); });
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
    }

    QPushButton* Button(const char* name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        buttons->insertWidget(actions_++, button);  // left of the stretch, in order
        return button;
    }

    void SetRows(std::vector<std::vector<Value>> rows, const QString& count) {
        rows_.SetRows(std::move(rows));
        if (!rows_.Active()) rows_.Open();
        Label1->setText(count);
    }

    void Print() {
        if (!report) return;
        reports::PreparedReport prepared;
        try {
            auto head = reports::RowsSource(TDM::Instance().rptHead);
            prepared = report(*head);
        } catch (const std::exception& error) {
            Dialogs::ShowEngineError(this, error);
            return;
        }
        reports::TPreview preview(std::move(prepared), this);
        Dialogs::Exec(preview);
    }

    TRowsDataSet& Rows() { return rows_; }

    std::function<reports::PreparedReport(reports::ReportSource&)> report;
    QHBoxLayout* top = nullptr;
    QHBoxLayout* buttons = nullptr;
    QLabel* Label1 = nullptr;
    TLibXGrid* grid = nullptr;

  private:
    int actions_ = 0;
    TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

const engine::ColumnType kText{engine::FieldType::String, 100};
const engine::ColumnType kNumber{engine::FieldType::Integer};

std::string DateText(engine::Date date) {
    return date.days ? engine::FormatDate(date) : "";
}

}  // namespace

void ShowLostBooks(QWidget* parent, engine::storage::Connection& connection) {
    TTenkenBooks window(parent, QStringLiteral("不明図書"),
                        {{"BOOK_ID", kNumber, "図書番号", "0000000"},
                         {"syomei2", kText, "書名"},
                         {"seikyu", kText, "請求記号"},
                         {"HKN", kText, "保管場所"},
                         {"LOST_ON", kText, "不明になった点検"},
                         {"LAST_ON", kText, "最後の点検"},
                         {"MISSES", kNumber, "見つからなかった回数"}});
    std::vector<LostBook> books;
    try {
        books = LostBooks(connection);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(parent, error);
        return;
    }
    std::vector<std::vector<Value>> rows;
    for (const auto& lost : books)
        rows.push_back({Value(lost.book.number), Value(lost.book.title),
                        Value(lost.book.callNumber), Value(lost.book.place),
                        Value(DateText(lost.lostOn)), Value(DateText(lost.lastOn)),
                        Value(int64_t{lost.misses})});
    window.SetRows(std::move(rows), QStringLiteral("不明図書 %1 冊").arg(books.size()));
    window.report = [books](reports::ReportSource& head) {
        std::vector<ScannedBook> list;
        for (const auto& lost : books) list.push_back(lost.book);
        return MissingBooksReport(list, std::nullopt, head, "蔵書点検　不明図書");
    };
    Dialogs::Exec(window);
}

void ShowWriteOffs(QWidget* parent, engine::storage::Connection& connection) {
    TTenkenBooks window(parent, QStringLiteral("廃棄の記録"),
                        {{"BOOK_ID", kNumber, "図書番号", "0000000"},
                         {"syomei2", kText, "書名"},
                         {"seikyu", kText, "請求記号"},
                         {"HKN", kText, "保管場所"},
                         {"STARTED", kText, "点検の開始日"},
                         {"WRITTEN_ON", kText, "廃棄にした日"}});
    std::vector<WriteOff> list;
    auto load = [&] {
        try {
            list = WriteOffs(connection);
        } catch (const std::exception& error) {
            Dialogs::ShowEngineError(&window, error);
        }
        std::vector<std::vector<Value>> rows;
        for (const auto& off : list)
            rows.push_back({Value(off.book.number), Value(off.book.title),
                            Value(off.book.callNumber), Value(off.book.place), Value(off.started),
                            Value(DateText(off.writtenOn))});
        window.SetRows(std::move(rows),
                       QStringLiteral("点検の完了で廃棄にした図書 %1 冊").arg(list.size()));
    };
    load();
    auto* restore = window.Button("Button3", QStringLiteral("廃棄を取り消す"));
    QObject::connect(restore, &QPushButton::clicked, &window, [&] {
        if (!window.Rows().Active() || window.Rows().RecordCount() == 0) return;
        const int64_t number = window.Rows().FieldByName("BOOK_ID").AsInteger();
        if (Dialogs::Question(&window,
                              Q(desk::BookNumberText(number)) +
                                  QStringLiteral(" の廃棄を取り消して、蔵書に戻しますか。"),
                              Dialogs::Yes | Dialogs::No) != Dialogs::Yes)
            return;
        try {
            auto answer = RestoreWrittenOff(connection, number, engine::Today());
            Dialogs::Information(&window, Q(RestoreText(answer, number)));
        } catch (const std::exception& error) {
            Dialogs::ShowEngineError(&window, error);
        }
        load();
    });
    window.report = [&list](reports::ReportSource& head) {
        std::vector<ScannedBook> books;
        for (const auto& off : list) books.push_back(off.book);
        return MissingBooksReport(books, std::nullopt, head, "蔵書点検　廃棄にした図書");
    };
    Dialogs::Exec(window);
}

void ShowYearSummary(QWidget* parent, engine::storage::Connection& connection) {
    std::vector<RowsColumn> columns;
    const char* names[] = {"GROUP", "HOLDINGS", "CHECKED", "LOST", "WRITTEN", "BYCHECK"};
    auto titles = SummaryTitles();
    for (size_t i = 0; i < titles.size(); ++i)
        columns.push_back({names[i], i ? kNumber : kText, titles[i]});
    TTenkenBooks window(parent, QStringLiteral("年度の集計"), std::move(columns));
    auto* year = new QSpinBox(&window);
    year->setObjectName(QStringLiteral("SpinBox1"));
    year->setRange(2000, 2100);
    const QDate today = QDate::currentDate();
    year->setValue(SchoolYearOf(today.year(), today.month()));
    year->setSuffix(QStringLiteral(" 年度"));
    window.top->addWidget(year);
    std::vector<SummaryLine> lines;
    auto load = [&] {
        try {
            lines = YearSummary(connection, year->value());
        } catch (const std::exception& error) {
            Dialogs::ShowEngineError(&window, error);
        }
        std::vector<std::vector<Value>> rows;
        for (const auto& line : lines)
            rows.push_back({Value(line.group), Value(int64_t{line.holdings}),
                            Value(int64_t{line.checked}), Value(int64_t{line.lost}),
                            Value(int64_t{line.writtenOff}), Value(int64_t{line.byCheck})});
        window.SetRows(std::move(rows), QStringLiteral("%1 年度（%1/04/01〜%2/03/31）")
                                            .arg(year->value())
                                            .arg(year->value() + 1));
    };
    load();
    QObject::connect(year, QOverload<int>::of(&QSpinBox::valueChanged), &window, load);
    window.report = [&](reports::ReportSource& head) {
        return YearSummaryReport(lines, year->value(), head);
    };
    Dialogs::Exec(window);
}

}  // namespace kashidashi
