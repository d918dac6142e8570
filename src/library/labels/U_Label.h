// TLabel: ラベル・カード印刷, book labels, spine labels and user cards on
// label sheets, opened from 図書館の管理.
//
// Two choices of their own: what to print (kind) and which books or users
// (selection); each keeps its choice when the other changes.
//   RadioButton1..3 kind: 図書ラベル (at opening) / 背ラベル / 利用者カード;
//                choosing one offers its usual sheet (a4-44, a4-65, card-10)
//   RadioButton4 図書番号 SpinBox1 ～ SpinBox2 (books by a range)
//   RadioButton5 登録日 DateEdit1 ～ DateEdit2 (new books)
//   RadioButton7 利用者の所属 ComboBox2 (全員 first), for cards
//   RadioButton6 一覧: the numbers typed or pasted in PlainTextEdit1 (book
//                numbers, or for cards the numbers the desk reads; a
//                reader's file pasted gives its scans); unknown ones are told
//   (the selections that do not fit the kind are disabled, and a kind that
//   cannot use the chosen one moves it to the first that fits)
//   ComboBox1    the sheet (the standard ones, then the saved custom one)
//   SpinBox3     the first cell to print on a used sheet (1 the top-left)
//   ComboBox3    the barcode: Code 39 or NW-7
//   GroupBox1    the custom sheet in millimetres; Button2 saves it, after a
//                question, for the whole school (Reg row 22,
//                library/labels/sheets.h) and chooses it
//   Button1      印刷プレビュー, the default (Enter): the preview (print,
//                PDF) of the labels
//   BitBtn1      閉じる
//
// The rules are library/labels/labels.h, cards.h and sheets.h; each action opens
// its own connection to the desk's data place.
#pragma once

#include <QDialog>
#include <QStringList>
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
    // The pages Button1 shows; nothing when there is nothing to print.
    // Notes() then holds what the librarian is told before the preview
    // (unknown numbers of a list, books without a call number).
    std::optional<reports::PreparedReport> Prepare();
    const QStringList& Notes() const { return notes_; }
    Ui::TLabel& Form() { return *ui; }

  private:
    void LoadChoices();
    void KindChosen();
    void ShowSheets(const std::string& chosen);
    reports::CellSheet CustomSheet() const;

    std::unique_ptr<Ui::TLabel> ui;
    std::vector<reports::CellSheet> sheets_;
    std::vector<int64_t> classCodes_;  // of ComboBox2 after 全員
    QStringList notes_;
};

}  // namespace kashidashi
