// TLabel: ラベル・カード印刷, book labels, spine labels and user cards on
// label sheets, opened from 図書館の管理.
//
//   RadioButton1..3 図書ラベル / 背ラベル / 利用者カード
//   RadioButton4 図書番号 SpinBox1 ～ SpinBox2 (books by a range)
//   RadioButton5 登録日 DateEdit1 ～ DateEdit2 (new books)
//   ComboBox2    the users' class (全員 first) for cards
//   RadioButton6 一覧: the numbers typed or pasted in PlainTextEdit1 (book
//                numbers, or for cards the numbers the desk reads)
//   ComboBox1    the sheet (the standard ones, then the saved custom one)
//   SpinBox3     the first cell to print on a used sheet (1 the top-left)
//   GroupBox1    the custom sheet in millimetres; Button2 saves it (Reg row
//                22, library/sheets.h) and chooses it
//   Button1      印刷プレビュー: the preview (print, PDF) of the labels
//   BitBtn1      閉じる
//
// The rules are library/labels.h, cards.h and sheets.h; each action opens
// its own connection to the desk's data place.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reports/cell_sheet.h"
#include "reports/page_model.h"

namespace Ui {
class TLabel;
}

namespace kashidashi {

class TLabel : public QDialog {
    Q_OBJECT
  public:
    explicit TLabel(QWidget* parent = nullptr);
    ~TLabel() override;

    void Button1Click();  // the preview
    void Button2Click();  // saves the custom sheet
    // The pages Button1 shows; nothing (the reason told) when there is
    // nothing to print.
    std::optional<reports::PreparedReport> Prepare();
    Ui::TLabel& Form() { return *ui; }

  private:
    void LoadChoices();
    void ShowSheets(const std::string& chosen);
    reports::CellSheet CustomSheet() const;
    std::string School() const;

    std::unique_ptr<Ui::TLabel> ui;
    std::vector<reports::CellSheet> sheets_;
    std::vector<int64_t> classCodes_;  // of ComboBox2 after 全員
};

}  // namespace kashidashi
