#include "reports/preview_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include "reports/page_view.h"
#include "reports/report_output.h"
#include "widgets/dialogs.h"

namespace kashidashi::reports {
namespace {

const double kZooms[] = {0.5, 0.75, 1.0, 1.5, 2.0};

}  // namespace

TPreview::TPreview(PreparedReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), printer_(std::make_unique<QPrinter>()) {
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("プレビュー"));
    resize(1000, 760);
    setSizeGripEnabled(true);
    BuildToolBar();
    BuildBody();
    FillOutline();
    SetZoom(1.0);
}

TPreview::~TPreview() = default;

void TPreview::BuildToolBar() {
    auto* bar = new QToolBar(this);
    bar->addAction(QStringLiteral("印刷"), this, &TPreview::Print);
    bar->addAction(QStringLiteral("ページ設定"), this, &TPreview::PageSetup);
    openAction_ = bar->addAction(QStringLiteral("開く"), this, [this] {
        AskAndRun(false, QStringLiteral("プレビュー (*.kxr)"), &TPreview::Open);
    });
    bar->addAction(QStringLiteral("保存"), this, [this] {
        AskAndRun(true, QStringLiteral("プレビュー (*.kxr)"), &TPreview::Save);
    });
    bar->addAction(QStringLiteral("PDF出力"), this, [this] {
        AskAndRun(true, QStringLiteral("PDF (*.pdf)"), &TPreview::ExportPdf);
    });
    bar->addAction(QStringLiteral("Excel出力"), this, [this] {
        AskAndRun(true, QStringLiteral("Excel (*.xlsx)"), &TPreview::ExportSpreadsheet);
    });
    bar->addSeparator();
    zoom_ = new QComboBox(bar);
    for (double zoom : kZooms) zoom_->addItem(QStringLiteral("%1 %").arg(zoom * 100), zoom);
    connect(zoom_, &QComboBox::activated, this,
            [this](int i) { SetZoom(zoom_->itemData(i).toDouble()); });
    bar->addWidget(zoom_);
    bar->addSeparator();
    bar->addAction(QStringLiteral("|◀"), this, [this] { GoToPage(0); });
    bar->addAction(QStringLiteral("◀"), this, [this] { GoToPage(page_ - 1); });
    pageLabel_ = new QLabel(bar);
    bar->addWidget(pageLabel_);
    bar->addAction(QStringLiteral("▶"), this, [this] { GoToPage(page_ + 1); });
    bar->addAction(QStringLiteral("▶|"), this, [this] { GoToPage(int(report_.pages.size()) - 1); });
    bar->addSeparator();
    findText_ = new QLineEdit(bar);
    findText_->setPlaceholderText(QStringLiteral("検索"));
    findText_->setMaximumWidth(160);
    connect(findText_, &QLineEdit::returnPressed, this, [this] {
        if (!Find(findText_->text()))
            Dialogs::Information(
                this, QStringLiteral("「%1」は見つかりませんでした。").arg(findText_->text()));
    });
    bar->addWidget(findText_);
    bar->addAction(QStringLiteral("閉じる"), this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
}

void TPreview::BuildBody() {
    auto* splitter = new QSplitter(this);
    outline_ = new QListWidget(splitter);
    outline_->setMaximumWidth(140);
    connect(outline_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != page_) GoToPage(row);
    });
    scroll_ = new QScrollArea(splitter);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    view_ = new PageView;
    scroll_->setWidget(view_);
    splitter->setStretchFactor(1, 1);
    static_cast<QVBoxLayout*>(this->layout())->addWidget(splitter, 1);
}

void TPreview::FillOutline() {
    outline_->clear();
    for (size_t i = 0; i < report_.pages.size(); ++i)
        outline_->addItem(QStringLiteral("%1 ページ").arg(i + 1));
}

double TPreview::Zoom() const {
    return view_->Zoom();
}

void TPreview::SetZoom(double zoom) {
    for (int i = 0; i < zoom_->count(); ++i)
        if (zoom_->itemData(i).toDouble() == zoom) zoom_->setCurrentIndex(i);
    view_->SetPage(report_.pages.empty() ? nullptr : &report_.pages[page_], zoom, nullptr);
    ShowPage();
}

void TPreview::GoToPage(int index) {
    int last = static_cast<int>(report_.pages.size()) - 1;
    page_ = std::max(0, std::min(index, last));
    foundText_ = -1;
    ShowPage();
}

void TPreview::ShowPage() {
    const Page* page = report_.pages.empty() ? nullptr : &report_.pages[page_];
    const RectMm* mark = page && foundText_ >= 0 ? &page->texts[foundText_].clip : nullptr;
    view_->SetPage(page, view_->Zoom(), mark);
    pageLabel_->setText(QStringLiteral(" %1 / %2 ").arg(page_ + 1).arg(report_.pages.size()));
    outline_->setCurrentRow(page_);
}

bool TPreview::Find(const QString& text) {
    if (text.isEmpty() || report_.pages.empty()) return false;
    int pages = static_cast<int>(report_.pages.size());
    int from = foundText_ + 1;
    for (int step = 0; step <= pages; ++step) {
        int p = (page_ + step) % pages;
        const auto& texts = report_.pages[p].texts;
        for (int t = step == 0 ? from : 0; t < static_cast<int>(texts.size()); ++t) {
            if (!QString::fromStdString(texts[t].Text()).contains(text, Qt::CaseInsensitive))
                continue;
            page_ = p;
            foundText_ = t;
            ShowPage();
            return true;
        }
    }
    return false;
}

}  // namespace kashidashi::reports
