// TTenken: 蔵書点検, the stock check, opened from 図書館の管理.
//
//   Label1       the running check (its start date) or that none runs
//   Edit1        the scan entry: a keyboard-emulating reader types a label
//                and Enter; each scan is written at once (inventory.h)
//   Label2       the answer of the last scan, loud (red, bold, with a
//                message) for a book on loan, discarded or unknown
//   ListWidget1  the numbers the catalogue does not know, for registration
//   Button2      ファイル読込: a portable reader's file, with ProgressBar1
//   TableWidget1 the progress: 全体, each storage place, each NDC class
//   DBGrid1      the books not found (廃棄, 図書番号, 書名, 請求記号, 保管場所)
//   Button6      廃棄に選ぶ: marks or unmarks the current book of DBGrid1
//   Button4      印刷: the list in the report preview (print, PDF)
//   Button5      エクセル出力: the list to the spreadsheet (and its CSV file)
//   Button1      開始: a new check (asks first when one runs)
//   Button3      完了: the marked books written off, after a question
//   BitBtn1      閉じる
//
// One connection to the desk's data place is held while the window is open;
// every question goes through Dialogs. Where an ISBN names several copies
// the window asks which (a list box shown through Dialogs::Exec).
#pragma once

#include <QDialog>
#include <memory>
#include <set>
#include <vector>

#include "data/data_source.h"
#include "library/data_place.h"
#include "library/inventory.h"
#include "library/rows_dataset.h"

namespace Ui {
class TTenken;
}

namespace kashidashi {

class TTenken : public QDialog {
    Q_OBJECT
  public:
    explicit TTenken(QWidget* parent = nullptr);
    ~TTenken() override;

    void Edit1Enter();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button6Click();
    // The file part of Button2 (a test gives the path directly).
    void ReadReaderFile(const QString& path);

    const library::ScanResult& LastScan() const { return last_; }
    const std::vector<library::ScannedBook>& Missing() const { return missing_; }
    const std::set<int64_t>& Chosen() const { return chosen_; }

  private:
    void Scan(const std::string& text);
    void ShowAnswer(const library::ScanResult& result);
    void OfferReturn(const library::ScanResult& result);
    std::optional<int64_t> ChooseCopy(const std::vector<int64_t>& copies);
    void Refresh();
    void ShowProgress(const library::InventoryProgress& progress);
    void ShowMissing();

    std::unique_ptr<Ui::TTenken> ui;
    std::unique_ptr<library::PlaceConnection> connection_;
    library::InventoryState state_;
    library::ScanResult last_;
    std::vector<library::ScannedBook> missing_;
    std::set<int64_t> chosen_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
