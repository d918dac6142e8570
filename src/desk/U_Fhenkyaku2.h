// TFhenkyaku2: the holder picker. When a returned book is scanned by its
// ISBN and several users hold copies of that title, the operator says whose
// copy comes back. One instance lives for the whole run.
//
// DBGrid1 lists the open loans of the title (pupil number, name) from the
// live Query1; BitBtn1 (OK, also Enter), a double click on the grid and the
// close box all close the dialog, and the caller takes the book number of
// the current row whichever way it closed.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "data/data_source.h"
#include "engine/dataset/query.h"

namespace Ui {
class TFhenkyaku2;
}

namespace kashidashi {

class TFhenkyaku2 : public QDialog {
    Q_OBJECT
  public:
    explicit TFhenkyaku2(QWidget* parent = nullptr);
    ~TFhenkyaku2() override;

    // Lists the holders of the title (the first twelve digits of its ISBN),
    // shows the dialog modally (through Dialogs) only when someone holds a
    // copy, and returns Book_ID of the chosen row; nothing when no one holds
    // one. Query1 is closed afterwards. Engine failures reach the caller.
    std::optional<int64_t> PickHolder(const std::string& isbn12);

    engine::TDBQuery Query1;
    TDataSource DataSource1{&Query1};

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SetUpQuery();
    void SetUpGrid();

    std::unique_ptr<Ui::TFhenkyaku2> ui;
};

}  // namespace kashidashi
