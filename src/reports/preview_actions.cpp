// The preview window's actions on the prepared pages: print, page setup,
// exports, save and open.
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include "reports/preview_window.h"
#include "reports/report_output.h"
#include "widgets/dialogs.h"

namespace kashidashi::reports {

void TPreview::Print() {
    if (!HasPrinter()) {
        Dialogs::Information(this,
                             QStringLiteral("プリンタが設定されていないため、印刷できません。"));
        return;
    }
    if (!PrintPages(report_, *printer_))
        Dialogs::Error(this, QStringLiteral("印刷できませんでした。"));
}

void TPreview::PageSetup() {
    QPageSetupDialog dialog(printer_.get(), this);
    Dialogs::Exec(dialog);
}

bool TPreview::ExportPdf(const QString& path) {
    return WritePdf(report_, path);
}

bool TPreview::Save(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(WritePrepared(report_)) >= 0 &&
           file.flush();
}

bool TPreview::Open(const QString& path) {
    if (exporting_) return false;  // the export's thread reads the pages
    QFile file(path);
    try {
        if (!file.open(QIODevice::ReadOnly)) return false;
        report_ = ReadPrepared(file.readAll());
    } catch (const std::exception&) {
        return false;
    }
    page_ = 0;
    foundText_ = -1;
    FillOutline();
    ShowPage();
    return true;
}

namespace {

// Keeps a progress display up: Esc and the window's close box do nothing.
class Undismissable : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

// Written by a thread of its own while the progress display counts pages.
// The display stays until the thread has ended, and 開く waits for it: the
// thread reads report_ all the while.
bool TPreview::ExportSpreadsheet(const QString& path) {
    if (exporting_) return false;
    std::atomic<int> done{0};
    bool written = false;
    QProgressDialog progress(QStringLiteral("Excel に出力しています…"), QString(), 0,
                             static_cast<int>(report_.pages.size()), this);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setWindowFlag(Qt::WindowCloseButtonHint, false);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    Undismissable keepUp;
    progress.installEventFilter(&keepUp);
    exporting_ = true;
    openAction_->setEnabled(false);
    QThread* worker =
        QThread::create([&] { written = WriteSpreadsheet(report_, path.toStdString(), &done); });
    QEventLoop loop;
    QTimer tick;
    connect(&tick, &QTimer::timeout, &progress, [&] { progress.setValue(done.load()); });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    tick.start(50);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    exporting_ = false;
    openAction_->setEnabled(true);
    return written;
}

namespace {

// Where a file dialog starts: the documents folder, where an operator looks
// for what was saved (the program's own working folder is hidden).
QString StartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

}  // namespace

void TPreview::AskAndRun(bool save, const QString& filter,
                         bool (TPreview::*action)(const QString&)) {
    QFileDialog dialog(this, QString(), StartFolder(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // "一覧" typed alone is saved as "一覧.pdf".
    const int dot = filter.lastIndexOf(QLatin1String("*."));
    if (save && dot >= 0) dialog.setDefaultSuffix(filter.mid(dot + 2).chopped(1));
    if (Dialogs::Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().first());
    if (!(this->*action)(path)) {
        Dialogs::Error(this, save ? QStringLiteral("ファイルに書き出せませんでした。")
                                  : QStringLiteral("ファイルを読み込めませんでした。"));
        return;
    }
    if (save)
        Dialogs::Information(this, QStringLiteral("次のファイルに保存しました。\r\n%1").arg(path));
}

}  // namespace kashidashi::reports
