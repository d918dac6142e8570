// TZoushoRecords: a list of 蔵書・利用者の管理 shown on request in a window
// of its own (who borrowed a book, a user's reading history), with its
// title, the rows in the project's grid and 閉じる (Esc). Such lists are
// private: the window offers no export.
#pragma once

#include <QDialog>
#include <vector>

#include "data/data_source.h"
#include "library/rows_dataset.h"

namespace kashidashi {

class TLibXGrid;

class TZoushoRecords : public QDialog {
    Q_OBJECT
  public:
    TZoushoRecords(const QString& title, std::vector<library::RowsColumn> columns,
                   std::vector<std::vector<engine::Value>> rows, QWidget* parent = nullptr);
    ~TZoushoRecords() override;
    TLibXGrid* Grid() const { return grid_; }
    size_t RowCount() const { return rows_.RowCount(); }

  private:
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
    TLibXGrid* grid_ = nullptr;
};

}  // namespace kashidashi
