#include "reports/preview_window.h"

#include <QComboBox>
#include <QEvent>
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
#include <QStyle>
#include <QTimer>
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
    zoom_->setObjectName(QStringLiteral("ZoomChoice"));
    zoom_->addItem(QStringLiteral("幅に合わせる"), QVariant::fromValue(int(Fit::Width)));
    zoom_->addItem(QStringLiteral("ページ全体"), QVariant::fromValue(int(Fit::Page)));
    for (double zoom : kZooms) zoom_->addItem(QStringLiteral("%1 %").arg(zoom * 100), zoom);
    connect(zoom_, &QComboBox::activated, this, [this](int i) {
        const QVariant data = zoom_->itemData(i);
        if (data.typeId() == QMetaType::Int)
            SetFit(static_cast<Fit>(data.toInt()));
        else
            SetZoom(data.toDouble());
    });
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
    scroll_->installEventFilter(this);
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
    fit_ = Fit::None;
    for (int i = 0; i < zoom_->count(); ++i)
        if (zoom_->itemData(i).typeId() == QMetaType::Double &&
            zoom_->itemData(i).toDouble() == zoom)
            zoom_->setCurrentIndex(i);
    view_->SetPage(report_.pages.empty() ? nullptr : &report_.pages[page_], zoom, nullptr);
    ShowPage();
}

void TPreview::SetFit(Fit fit) {
    fit_ = fit;
    for (int i = 0; i < zoom_->count(); ++i)
        if (zoom_->itemData(i).typeId() == QMetaType::Int && zoom_->itemData(i).toInt() == int(fit))
            zoom_->setCurrentIndex(i);
    ApplyFit();
}

// The room for the page: the scroll area inside its frame, less the page's
// border, and for the width less a vertical scroll bar (a page fitted to the
// width is mostly taller than the view).
QSize TPreview::Room(Fit fit) const {
    QSize room =
        scroll_->contentsRect().size() - QSize(2 * PageView::kBorder, 2 * PageView::kBorder);
    if (fit == Fit::Width)
        room.rwidth() -= scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return room;
}

void TPreview::ApplyFit() {
    if (fit_ == Fit::None || report_.pages.empty()) return;
    const Page& page = report_.pages[page_];
    const double mmToPixels = view_->logicalDpiX() / 25.4;
    const QSize room = Room(fit_);
    const double byWidth = room.width() / (page.width * mmToPixels);
    const double byHeight = room.height() / (page.height * mmToPixels);
    const double zoom = fit_ == Fit::Width ? byWidth : std::min(byWidth, byHeight);
    view_->SetPage(&page, std::max(0.1, zoom), nullptr);
    ShowPage();
}

// Once the window has its size on screen: a page wider than the view at
// 100 % opens fitted to the width.
void TPreview::ChooseFirstZoom() {
    if (zoomChosen_) return;
    zoomChosen_ = true;
    if (fit_ != Fit::None || report_.pages.empty() || view_->Zoom() != 1.0) return;
    const double mmToPixels = view_->logicalDpiX() / 25.4;
    if (report_.pages[page_].width * mmToPixels > Room(Fit::None).width()) SetFit(Fit::Width);
}

// The sizes of the window's parts settle after the show: the choice waits
// for them.
void TPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &TPreview::ChooseFirstZoom);
}

// The scroll area's resizes: a fitted page follows them.
bool TPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::Resize) ApplyFit();
    return QDialog::eventFilter(watched, event);
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
