#include "grid/export_progress.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "widgets/window_placement.h"

namespace kashidashi {

ExportProgress::ExportProgress(QWidget& grid, Kind kind, std::function<void()> onCancel)
    : holder_(grid.window()) {
    holder_->setEnabled(false);
    Build(kind, std::move(onCancel));
    if (kind == Kind::Spreadsheet) StepIt();
    dialog_->show();
    ProcessMessages();
}

ExportProgress::~ExportProgress() {
    Close();
}

void ExportProgress::Build(Kind kind, std::function<void()> onCancel) {
    dialog_ =
        std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::CustomizeWindowHint |
                                               Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    dialog_->setObjectName(QStringLiteral("ExportProgress"));
    dialog_->setWindowTitle(QString::fromUtf8(kCaption));
    dialog_->setFixedSize(200, 110);
    bar_ = new QProgressBar(dialog_.get());
    bar_->setGeometry(11, 10, 170, 16);
    bar_->setTextVisible(false);
    label_ = new QLabel(dialog_.get());
    label_->setGeometry(46, 30, 100, 15);
    label_->setAlignment(Qt::AlignCenter);
    const bool csv = kind == Kind::Csv;
    bar_->setRange(0, csv ? 0 : 100);
    bar_->setValue(0);
    step_ = csv ? 1 : 10;
    label_->setText(csv ? QStringLiteral("準備中") : QStringLiteral("Excel 読み込み中"));
    if (csv) {
        auto* cancel = new QPushButton(QStringLiteral("キャンセル"), dialog_.get());
        cancel->setObjectName(QStringLiteral("CancelButton"));
        cancel->setGeometry(46, 48, 100, 25);
        QObject::connect(cancel, &QPushButton::clicked, dialog_.get(), std::move(onCancel));
    }
    CentreOnScreen(*dialog_);
}

void ExportProgress::SetMaximum(int maximum) {
    if (bar_) bar_->setMaximum(maximum);
}

int ExportProgress::Maximum() const {
    return bar_ ? bar_->maximum() : 0;
}

void ExportProgress::StepIt() {
    if (!bar_) return;
    position_ += step_;
    if (position_ > bar_->maximum()) position_ = bar_->minimum();
}

void ExportProgress::SetLabel(const QString& text) {
    labelText_ = text;
    labelPending_ = true;
}

void ExportProgress::Close() {
    if (!dialog_) return;
    if (holder_) {
        holder_->setEnabled(true);
        holder_->show();
        holder_->raise();
    }
    bar_ = nullptr;
    label_ = nullptr;
    dialog_.reset();
}

void ExportProgress::ProcessMessages() {
    if (bar_ && bar_->value() != position_) bar_->setValue(position_);
    if (label_ && labelPending_) label_->setText(labelText_);
    labelPending_ = false;
    QCoreApplication::processEvents();
}

void ExportProgress::LetEventsRun() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsEveryMs) return;
    ProcessMessages();
    sinceEvents_.start();
}

}  // namespace kashidashi
