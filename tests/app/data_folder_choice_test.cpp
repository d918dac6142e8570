// The data folder of 初期設定: the field takes a click and typing but no Tab;
// 参照 chooses a folder; a folder without a school gets an empty or the demo
// school only when the operator says so; and the start without a data folder
// ends in a started desk instead of the same question again and again.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>
#include <filesystem>

#include "app/school_maker.h"
#include "data/pin_constants.h"
#include "data/school_folder.h"
#include "support/app_fixture.h"
#include "support/widget_keys.h"

// The window system's mouse path, exported by QtGui for the test library.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;
namespace fs = std::filesystem;

// A click of the window system (it moves the focus as a real one does).
void ClickOn(QWidget& widget) {
    QWindow* window = widget.window()->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPointF at = widget.mapTo(widget.window(), QPointF(10, 10));
    const QPointF global = widget.window()->mapToGlobal(at);
    qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, 0);
    qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, 0);
    QCoreApplication::processEvents();
}

// The operator picks the folder in the folder dialog.
std::function<void(QDialog&)> PickFolder(const std::string& folder) {
    return [folder](QDialog& w) {
        auto& dialog = static_cast<QFileDialog&>(w);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        dialog.setDirectory(QString::fromStdString(folder));
        w.accept();
    };
}

std::function<void(QDialog&)> Press(const char* button) {
    return [button](QDialog& w) { Click(w, button); };
}

class DataFolderChoiceTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        kashidashi::SetAdminProgram(QStringLiteral(KX_ADMIN_TOOL));
        school = (root / "school").string();
        MakeDataFolder(school);
        empty = (root / "empty").string();
        fs::create_directories(empty);
    }
    void TearDown() override {
        kashidashi::SetAdminProgram({});
        AppFixture::TearDown();
    }
    void StartDesk() {
        MakeDataFolder(DriveFolder("C:\\Book\\"));
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
        ASSERT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }
    // 初期設定 from the main window; 参照 pressed, then the window closed.
    void Browse() {
        dialogs->Drive("kashidashi::THead1", [this](QDialog& w) {
            Click(w, "Button3");
            shownPath = TextOf(w, "RDBEdit8");
            w.close();
        });
    }
    void OpenSettings() { Main().findChild<QPushButton*>("Button1")->click(); }
    int64_t Books(const std::string& folder) {
        DataQuery query("CountBooks", folder);
        query->SQL().SetText("Select BOOK_ID From Book");
        query->Open();
        return query->RecordCount();
    }

    std::string school, empty;
    QString shownPath;
};

TEST_F(DataFolderChoiceTest, TheFieldTakesAClickAndTypingButNoTab) {
    StartDesk();
    MakeDataFolder(DriveFolder("D:\\Lib\\"));
    dialogs->Drive("kashidashi::THead1", [](QDialog& w) {
        auto* field = w.findChild<QLineEdit*>("RDBEdit8");
        EXPECT_EQ(field->focusPolicy(), Qt::ClickFocus);
        w.activateWindow();
        ClickOn(*field);
        EXPECT_EQ(w.focusWidget(), field);
        field->selectAll();
        Type(*field, QStringLiteral("D:\\Lib"));
        EXPECT_EQ(field->text(), QStringLiteral("D:\\Lib"));
        // Tab from the first field round the window never lands on it.
        w.findChild<QLineEdit*>("RDBEdit1")->setFocus();
        std::vector<QString> reached;
        for (int i = 0; i < 20; ++i) {
            kx_test::Press(*w.focusWidget(), Qt::Key_Tab);
            reached.push_back(w.focusWidget()->objectName());
        }
        EXPECT_EQ(std::count(reached.begin(), reached.end(), "RDBEdit8"), 0);
        EXPECT_GT(std::count(reached.begin(), reached.end(), "Button3"), 0);
        w.close();
    });
    OpenSettings();
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("D:\\Lib\\"));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// Each answer to an empty folder, and a folder that holds a school.
TEST_F(DataFolderChoiceTest, AFolderWithoutASchoolIsFilledOnlyWhenTheOperatorSaysHow) {
    StartDesk();
    const struct {
        const char* name;
        const char* answer;  // to the question about the empty folder
        bool made;
        int64_t books;  // in the new school
    } cases[] = {
        {"empty school", "EmptyButton", true, 0},
        {"demo school", "DemoButton", true, 400},
        {"choose again", "AgainButton", false, 0},
        {"close box", nullptr, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(empty);
        fs::create_directories(empty);
        Browse();
        dialogs->Drive("QFileDialog", PickFolder(empty));
        dialogs->Drive("kashidashi::TSchoolChoice", [&](QDialog& w) {
            EXPECT_FALSE(kashidashi::FolderHoldsSchool(empty));  // nothing before the answer
            if (c.answer) Click(w, c.answer);
        });
        if (c.made) {
            dialogs->Answer(Kind::Information, Dialogs::Ok);
        } else {
            // Chosen again: this time the folder of a school.
            dialogs->Drive("QFileDialog", PickFolder(school));
        }
        OpenSettings();
        EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
        EXPECT_EQ(dialogs->Left(), 0);
        EXPECT_EQ(kashidashi::FolderHoldsSchool(empty), c.made);
        EXPECT_EQ(fs::exists(fs::path(empty) / "kashidashi.db"), c.made);
        const std::string chosen = (c.made ? empty : school) + "/";
        EXPECT_EQ(shownPath.toStdString(), chosen);
        EXPECT_EQ(HeadRow().at("PathName1"), engine::Value(chosen));
        if (c.made) EXPECT_EQ(Books(empty), c.books);
    }
}

TEST_F(DataFolderChoiceTest, ACancelledFolderDialogChangesNothing) {
    StartDesk();
    Browse();
    dialogs->Drive("QFileDialog", [](QDialog& w) { w.reject(); });
    OpenSettings();
    EXPECT_EQ(shownPath, QStringLiteral("C:\\Book\\"));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// No data folder: はい leads to 初期設定, where 参照 sets a new folder, and
// the desk starts on it.
TEST_F(DataFolderChoiceTest, TheStartWithoutADataFolderEndsOnTheChosenOne) {
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    dialogs->Answer(Kind::Question, Dialogs::Yes);
    Browse();
    dialogs->Drive("QFileDialog", PickFolder(empty));
    dialogs->Drive("kashidashi::TSchoolChoice", Press("DemoButton"));
    dialogs->Answer(Kind::Information, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0);
    EXPECT_EQ(TextOf(Main(), "Edit1").toStdString(), empty + "/");
    EXPECT_EQ(Main().StartUpGuard(), kashidashi::TMain2::kGuardStarted);
    EXPECT_TRUE(Main().findChild<QPushButton*>("Button1")->isEnabled());
}

}  // namespace
}  // namespace app_test
