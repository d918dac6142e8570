// TZousho: 蔵書・利用者の管理, the school's own catalogue and roll, opened
// from 図書館の管理. One window, three tabs (PageControl1):
//
// 図書 (TabSheet1, U_Zousho_books.cpp)
//   Edit1 words, ComboBox1 を含む/で始まる, CheckBox1 + DateEdit1..2 the
//   registration period, Button1 検索; DBGrid1 the books found (100 a page,
//   Button2 前へ / Button3 次へ, Label1 the count; a click on a title sorts
//   every book found); the chosen book's boxes (one per column, each within
//   its column's bytes, the readings in half-width katakana) with the ISBN
//   lookup (ComboBox2 the source, Enter in the ISBN box fills empty boxes);
//   Button4 保存, Button5 新しい本, Button6 同じ本をもう1冊, Button7 除籍,
//   Button8 除籍の取り消し, Button9 削除, Button10 貸出の記録（職員用）,
//   Button11 ラベル印刷, Button12 CSV出力, Button13 一覧印刷.
// 利用者 (TabSheet2, U_Zousho_users.cpp)
//   Edit2 words, ComboBox3 the class, Button21 検索; DBGrid2 the users; the
//   user's boxes (ComboBox4 the class: moving a pupil is choosing another);
//   Button22 保存, Button23 新しい利用者 (the next free fixed number),
//   Button24 卒業・転出, Button25 削除 (refused with books out, which it
//   names), Button26 読書記録を表示（職員用）, Button27 利用者カード印刷;
//   DBGrid3 the books out and reservations of the user; UserButtons, a row
//   where further buttons of a user find their place.
// 設定 (TabSheet3, U_Zousho_settings.cpp)
//   ComboBox5 the list (所属, 保管場所, 分類, 購入財源, 受入先), DBGrid4 its
//   codes with how many rows use each, Edit31 code, Edit32 name, Button31
//   追加, Button32 名前を変更, Button33 削除 (refused while used, naming
//   the rows); Edit33 the school's name (head.meisyou) with Button34 保存;
//   Label31 the loan period and limit as 初期設定 keeps them.
// BitBtn1 閉じる.
//
// The rules are window-free (library/holdings): this window only shows and
// asks. Every message goes through Dialogs; engine failures are shown in
// the standard error box and the window stays open.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "data/data_source.h"
#include "library/holdings/book_search.h"
#include "library/holdings/books.h"
#include "library/holdings/code_lists.h"
#include "library/holdings/roll.h"
#include "library/rows_dataset.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QHBoxLayout;

namespace Ui {
class TZousho;
}

namespace kashidashi {

class TLibXGrid;

class TZousho : public QDialog {
    Q_OBJECT
  public:
    explicit TZousho(QWidget* parent = nullptr);
    ~TZousho() override;

    // 図書
    void Button1Click();   // 検索
    void Button4Click();   // 保存
    void Button5Click();   // 新しい本
    void Button6Click();   // 同じ本をもう1冊
    void Button7Click();   // 除籍
    void Button8Click();   // 除籍の取り消し
    void Button9Click();   // 削除
    void Button10Click();  // 貸出の記録
    void Button11Click();  // ラベル印刷
    void Button12Click();  // CSV出力
    void Button13Click();  // 一覧印刷
    void ShowBook(int64_t number);
    int64_t CurrentBook() const { return bookNumber_; }
    // 利用者
    void Button21Click();  // 検索
    void Button22Click();  // 保存
    void Button23Click();  // 新しい利用者
    void Button24Click();  // 卒業・転出
    void Button25Click();  // 削除
    void Button26Click();  // 読書記録
    void Button27Click();  // 利用者カード印刷
    void Button28Click();  // 読書記録を印刷 (everyone listed, a page each)
    void ShowUser(const std::string& nameId);
    const std::string& CurrentUser() const { return userId_; }
    // 設定
    void Button31Click();
    void Button32Click();
    void Button33Click();
    void Button34Click();
    void ShowCodes();

    QLineEdit* BookBox(const std::string& column) const;
    QLineEdit* UserBox(const std::string& column) const;
    QHBoxLayout* UserButtons() const { return userButtons_; }

  private:
    QWidget* MakeBooksTab();
    QWidget* MakeUsersTab();
    QWidget* MakeSettingsTab();
    // The box keeps what its column stores: at most `bytes` code page 932
    // bytes (0: no limit); a reading in half-width katakana; a number box
    // turns full-width digits into ASCII before they are counted.
    void LimitBox(QLineEdit* box, int bytes, bool reading, bool number = false);
    void ShowHitsPage();
    void SortHits(int column);
    void FillBookForm(const library::holdings::BookFields& fields);
    library::holdings::BookFields BookForm() const;
    void FillCodeChoices();
    void LookupIsbn();
    void FillUserForm(const library::holdings::RollUser& user);
    library::holdings::RollUser UserForm() const;
    void ShowUserBooks();
    void FillClasses();
    std::string SchoolName() const;
    // Runs `work` under the wait cursor; a refusal is shown as a warning, a
    // failure in the standard error box; false then.
    bool Guarded(const std::function<void()>& work);

    std::unique_ptr<Ui::TZousho> ui;
    // 図書
    QLineEdit* Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QDateEdit *DateEdit1 = nullptr, *DateEdit2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // the chosen book's state
    QPushButton *Button2 = nullptr, *Button3 = nullptr;
    TLibXGrid* DBGrid1 = nullptr;
    std::map<std::string, QLineEdit*> bookBoxes_;
    std::map<std::string, QCheckBox*> bookFlags_;
    std::map<std::string, QComboBox*> bookCodes_;
    std::vector<library::holdings::BookHit> hits_;
    size_t page_ = 0;
    int64_t bookNumber_ = 0;  // 0: none, or a new book being typed
    bool newBook_ = false;
    bool showingPage_ = false;  // the grid's rows are being replaced
    library::holdings::BookFields loaded_;
    library::TRowsDataSet hitRows_;
    TDataSource hitSource_{&hitRows_};
    // 利用者
    QLineEdit* Edit2 = nullptr;
    QComboBox *ComboBox3 = nullptr, *ComboBox4 = nullptr;
    QLabel* Label21 = nullptr;
    TLibXGrid *DBGrid2 = nullptr, *DBGrid3 = nullptr;
    std::map<std::string, QLineEdit*> userBoxes_;
    std::vector<library::holdings::RollUser> users_;
    std::string userId_;
    bool newUser_ = false;
    library::TRowsDataSet userRows_, userBookRows_;
    TDataSource userSource_{&userRows_}, userBookSource_{&userBookRows_};
    QHBoxLayout* userButtons_ = nullptr;
    // 設定
    QComboBox* ComboBox5 = nullptr;
    QLineEdit *Edit31 = nullptr, *Edit32 = nullptr, *Edit33 = nullptr;
    QLabel* Label31 = nullptr;
    TLibXGrid* DBGrid4 = nullptr;
    std::vector<library::holdings::CodeEntry> codes_;
    library::TRowsDataSet codeRows_;
    TDataSource codeSource_{&codeRows_};
};

}  // namespace kashidashi
