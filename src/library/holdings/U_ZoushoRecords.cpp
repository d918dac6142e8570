#include "library/holdings/U_ZoushoRecords.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/LibXGrid.h"
#include "widgets/window_placement.h"

namespace kashidashi {

TZoushoRecords::TZoushoRecords(const QString& title, std::vector<library::RowsColumn> columns,
                               std::vector<std::vector<engine::Value>> rows, QWidget* parent)
    : QDialog(parent), rows_("Records", columns) {
    setObjectName("TZoushoRecords");
    setWindowTitle(title);
    resize(760, 480);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(title + QStringLiteral("（%1件）").arg(rows.size()), this);
    label->setObjectName("Label1");
    layout->addWidget(label);
    grid_ = new TLibXGrid(this);
    grid_->setObjectName("DBGrid1");
    rows_.SetRows(std::move(rows));
    rows_.Open();
    grid_->SetDataSource(&source_);
    grid_->SetReadOnly(true);
    grid_->SetOptions(grid_->Options() | dgRowSelect);
    layout->addWidget(grid_, 1);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName("BitBtn1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    FitOnScreen(*this);
}

TZoushoRecords::~TZoushoRecords() {
    rows_.Close();
}

}  // namespace kashidashi
