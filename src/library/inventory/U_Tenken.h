// TTenken: 蔵書点検, the stock check, opened from 図書館の管理.
//
//   Label1       the running check (its start date and scope) or that none runs
//   ComboBox1    点検する範囲 of a new check: 全体, a storage place, an NDC class
//   Edit1        the scan entry: a keyboard-emulating reader types a label
//                and Enter; each scan is written at once (inventory.h)
//   Label2       the answer of the last scan, at once and never in a box:
//                green for a book checked, red (bold) for anything to look at
//   TableWidget2 確認が必要な図書: the scans that need a decision (a book on
//                loan, discarded, unknown, an ISBN of several copies none of
//                them on the shelf), from typed scans and reader's files;
//                acted on only by its buttons, never by a scan's Enter:
//   Button7      返却する: the desk's return of the chosen book on loan
//   Button8      廃棄を取り消す: the chosen discarded book's write-off undone
//   Button9      一覧から消す: the chosen line is dealt with
//   ListWidget1  the numbers the catalogue does not know, for registration
//   Button2      ファイル読込: a portable reader's file, with ProgressBar1
//   TableWidget1 the progress: 全体, each storage place, each NDC class
//   DBGrid1      the books not found (廃棄, 図書番号, 書名, 請求記号, 保管場所)
//   Button6      廃棄に選ぶ: marks or unmarks the current book of DBGrid1
//   Button4      印刷: the list in the report preview (print, PDF)
//   Button5      エクセル出力: the list to the spreadsheet (and its CSV file)
//   Button10     不明図書: the books marked 不明 by finished checks
//   Button11     廃棄の記録: the write-offs of 完了, each undoable
//   Button12     年度の集計: holdings, checked, 不明, written off by NDC class
//   Button1      開始: a new check (asks first when one runs)
//   Button3      完了: the marked books written off, after a question
//   BitBtn1      閉じる
//
// A scan updates the counts and the list by the one book; the whole is read
// again only at opening, start, finish, a file and a decision. After any
// click the focus goes back to Edit1, where the reader types. One
// connection to the desk's data place is held while the window is open;
// every question goes through Dialogs.
#pragma once

#include <QDialog>
#include <memory>
#include <set>
#include <vector>

#include "data/data_source.h"
#include "library/data_place.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_model.h"
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
    void Button7Click();
    void Button8Click();
    void Button9Click();
    // The file part of Button2 (a test gives the path directly).
    void ReadReaderFile(const QString& path);

    const library::ScanResult& LastScan() const { return last_; }
    const std::vector<library::ScannedBook>& Missing() const { return model_.Missing(); }
    const std::set<int64_t>& Chosen() const { return chosen_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Scan(const std::string& text);
    void ShowAnswer(const library::ScanResult& result);
    void AddDecision(const library::ScanResult& result, const QString& scan);
    int CurrentDecision(library::ScanAnswer answer);
    void RemoveDecision(int row);
    void Refresh();
    void FillScopes();
    void ShowState();
    void ShowProgress();
    void ShowProgressLine(int row, const library::ProgressLine& line);
    void ShowMissing();
    void ShowMissingCount();
    void ApplyFound(int64_t number);
    void BackToScan();

    std::unique_ptr<Ui::TTenken> ui;
    std::unique_ptr<library::PlaceConnection> connection_;
    library::InventoryState state_;
    library::InventoryScope scope_;
    library::InventoryModel model_;
    library::ScanResult last_;
    std::set<int64_t> chosen_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
