// Pictures of the quick registration window filled from an answer each
// online service really sent (tests/catalogue/answers), for the project's
// documents. Runs only when KASHIDASHI_SCREENSHOTS names the folder to
// write to:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs catalogue_tests
//       --gtest_filter='LookupScreenshotTest.*'
#include <cstdlib>
#include <filesystem>

#include "answer_server.h"
#include "catalogue/lookup_services.h"
#include "desk/desk_fixture.h"

namespace catalogue_test {
namespace {

using namespace desk_test;
namespace cat = kashidashi::catalogue;

class LookupScreenshotTest : public DeskFixture {
  protected:
    void SetUp() override {
        folder_ =
            std::getenv("KASHIDASHI_SCREENSHOTS") ? std::getenv("KASHIDASHI_SCREENSHOTS") : "";
        if (folder_.empty()) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
        DeskFixture::SetUp();
        if (Stopped()) return;
        saved_ = cat::Services();
        cat::Services().ndlBase = cat::Services().rakutenBase = server_.Base();
        cat::Services().allowedSchemes = {"http"};
    }
    void TearDown() override {
        if (folder_.empty()) return;
        cat::Services() = saved_;
        DeskFixture::TearDown();
    }
    // Registers book 99999 from the ISBN with the source preselected and the
    // recorded answer served, and saves the filled window as `png`.
    void Shoot(int source, const char* answer, const char* isbn, const char* png) {
        server_.Serve("/", RecordedAnswer(answer));
        RunSql(programFolder, "Update Head Set PM8=" + std::to_string(source));
        const QString file =
            QString::fromStdString((std::filesystem::absolute(folder_) / png).string());
        Register([&](QDialog& w) {
            SetText(w, "E3", isbn);
            PressEnter(w, "E3");
            SetText(w, "E14", "1");
            PressEnter(w, "E14");
            Settle();
            EXPECT_TRUE(w.grab().save(file, "PNG"));
            Click(w, "BitBtn1");
        });
    }

    std::string folder_;
    AnswerServer server_;
    cat::LookupServices saved_;
};

TEST_F(LookupScreenshotTest, TheWindowFilledFromTheNationalLibrary) {
    Shoot(0, "ndl_search_clean_architecture.xml", "9784048930659", "quick-registration-ndl.png");
}

TEST_F(LookupScreenshotTest, TheWindowFilledFromRakuten) {
    Shoot(1, "rakuten_books_v1.json", "9784091422354", "quick-registration-rakuten.png");
}

}  // namespace
}  // namespace catalogue_test
