// The list of the backup folder in Grid1.
#include <QHeaderView>
#include <QTableWidgetItem>
#include <filesystem>

#include "library/backup/U_Backup.h"
#include "library/backup/backup.h"
#include "library/backup/backup_folder.h"
#include "library/backup/daily_backup.h"
#include "ui_U_Backup.h"

namespace kashidashi {
namespace {

// The tables whose rows the list shows, after made at, kind, file and size.
const char* const kCountedTables[] = {"Book", "Name", "kashibo", "yoyaku"};

QTableWidgetItem* Cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString Size(int64_t bytes) {
    return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
}

void FillRow(QTableWidget& grid, int row, const library::BackupEntry& entry) {
    grid.setItem(row, 0, Cell(QString::fromStdString(entry.madeAt)));
    if (entry.problem.empty()) {
        grid.setItem(row, 1, Cell(QString::fromStdString(entry.kind)));
    } else {
        // A damaged backup is marked where the eye reads its kind.
        grid.setItem(row, 1,
                     Cell(QString::fromStdString(entry.kind) + QStringLiteral("（壊れています）")));
        grid.item(row, 1)->setForeground(Qt::red);
        grid.item(row, 1)->setToolTip(QString::fromStdString(entry.problem));
    }
    grid.setItem(row, 2, Cell(QString::fromStdString(entry.name)));
    grid.setItem(row, 3, Cell(Size(entry.bytes), true));
    grid.item(row, 2)->setData(Qt::UserRole, QString::fromStdString(entry.path));
    std::vector<library::TableRows> counts;
    try {
        counts = library::BackupRowCounts(entry.path);
    } catch (const std::exception&) {
        grid.setItem(row, 4, Cell(QStringLiteral("読めません")));
        return;
    }
    int column = 4;
    for (const char* table : kCountedTables)
        for (const auto& count : counts)
            if (count.table == table)
                grid.setItem(
                    row, column++,
                    Cell(count.rows < 0 ? QStringLiteral("なし") : QString::number(count.rows),
                         true));
}

}  // namespace

void TBackup::ShowBackups() {
    QTableWidget& grid = *ui->Grid1;
    grid.setRowCount(0);
    ui->Label2->clear();
    if (ui->Edit1->text().trimmed().isEmpty()) return;
    if (!std::filesystem::is_directory(Folder())) {
        ui->Label2->setText(QStringLiteral("バックアップ先のフォルダ「%1」が見つかりません。"
                                           "USBメモリなどがつながっているか確かめてください。")
                                .arg(ui->Edit1->text().trimmed()));
        return;
    }
    auto entries = library::ListBackups(Folder());
    grid.setRowCount(static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) FillRow(grid, static_cast<int>(i), entries[i]);
    grid.resizeColumnsToContents();
    ui->Label2->setText(QString::fromStdString(library::LastBackupLogLine(Folder())));
}

}  // namespace kashidashi
