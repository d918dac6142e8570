// A city's schools in one catalogue: "/" lists them, each under /s/ID/, and
// a book's page names the other schools that hold the same ISBN, with
// whether it is on their shelf, only where both schools allow it.
#include <fstream>

#include "data/schema.h"
#include "engine/sql/parser.h"
#include "engine/storage/open_local.h"
#include "engine/translate/statement_runner.h"
#include "library/accounts/web_switches.h"
#include "opac/city.h"
#include "opac/pupil_places.h"
#include "opac/server_fixture.h"

namespace opac_test {
namespace {

using namespace kashidashi;

void RunSql(engine::storage::Connection& connection, const std::string& text) {
    for (const auto& statement : engine::sql::ParseScript(text))
        engine::translate::ExecuteStatement(
            statement, connection, [](const std::string&) { return std::nullopt; }, text);
}

class CityTest : public ServerFixture {
  protected:
    void SetUp() override {
        ServerFixture::SetUp();
        AddBook(1, "うちゅうのふしぎ", "", "", "ISBN='9784000000019'");
        other = root / "other";
        std::filesystem::create_directories(other);
        otherWriter = engine::storage::OpenLocal(other.string());
        RunSql(*otherWriter, DataTablesScript());
        RunSql(*otherWriter,
               "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF, kintaiF, haikiF) Values"
               " (5, 'うちゅうのふしぎ', '9784000000019', True, False, False);"
               "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF, kintaiF, haikiF) Values"
               " (6, 'うちゅうのふしぎ', '9784000000019', False, False, False)");
        opac::PupilPlaces::Instance().Clear();
    }
    void TearDown() override {
        opac::SetCitySites(nullptr);
        opac::PupilPlaces::Instance().Clear();
        otherWriter.reset();
        ServerFixture::TearDown();
    }
    void Serve() {
        const std::string a = folder.string(), b = other.string();
        sites.Add(std::make_unique<opac::Site>(
            "east", "ひがし小学校", [a] { return engine::storage::OpenLocal(a); },
            (root / "index-east.sqlite").string()));
        sites.Add(std::make_unique<opac::Site>(
            "west", "にし小学校", [b] { return engine::storage::OpenLocal(b); },
            (root / "index-west.sqlite").string()));
        for (auto* s : sites.All()) s->Refresh();
        opac::PupilPlaces::Instance().Add("east", [a] { return engine::storage::OpenLocal(a); });
        opac::PupilPlaces::Instance().Add("west", [b] { return engine::storage::OpenLocal(b); });
        opac::SetCitySites(&sites);
        app = std::make_unique<opac::App>(sites);
        opac::ServerOptions options;
        options.port = 0;
        options.log = false;
        server = std::make_unique<opac::HttpServer>(
            options, [this](opac::Request& request) { return app->Handle(request); });
        server->Start();
        port = server->Port();
    }
    void Allow(engine::storage::Connection& connection, bool on) {
        accounts::WriteWebSwitches(connection, {false, false, on, 3});
        opac::PupilPlaces::Instance().ForgetSwitches("east");
        opac::PupilPlaces::Instance().ForgetSwitches("west");
    }
    std::filesystem::path other;
    std::unique_ptr<engine::storage::Connection> otherWriter;
};

TEST_F(CityTest, TheListOfSchoolsAndTheOtherSchoolsThatHoldABook) {
    Serve();
    Answer list = Get(port, "/");
    ASSERT_EQ(list.status, 200);
    EXPECT_NE(list.body.find("href=\"/s/east/\""), std::string::npos);
    EXPECT_NE(list.body.find("にし小学校"), std::string::npos);
    EXPECT_EQ(Get(port, "/s/east/").status, 200);
    EXPECT_EQ(Get(port, "/s/nowhere/").status, 404);
    EXPECT_EQ(Get(port, "/book/1").status, 404);
    // Off until both schools allow it.
    EXPECT_EQ(Get(port, "/s/east/book/1").body.find("他の学校"), std::string::npos);
    Allow(*writer, true);
    EXPECT_EQ(Get(port, "/s/east/book/1").body.find("他の学校"), std::string::npos);
    Allow(*otherWriter, true);
    Answer book = Get(port, "/s/east/book/1");
    EXPECT_NE(book.body.find("他の学校にもあります"), std::string::npos);
    EXPECT_NE(book.body.find("href=\"/s/west/book/5\""), std::string::npos);
    EXPECT_NE(book.body.find("棚にあります"), std::string::npos);
    // Both copies lent: 貸出中.
    RunSql(*otherWriter, "Update Book Set kashidashiF=True");
    EXPECT_NE(Get(port, "/s/east/book/1").body.find("貸出中"), std::string::npos);
    Allow(*otherWriter, false);
    EXPECT_EQ(Get(port, "/s/east/book/1").body.find("他の学校"), std::string::npos);
}

TEST(CityListTest, TheListFileIsReadOrRefusedByLine) {
    char name[] = "/tmp/kx-city-XXXXXX";
    std::filesystem::path dir = mkdtemp(name);
    auto write = [&](const std::string& text) {
        std::ofstream((dir / "city.schools").string()) << text;
        return (dir / "city.schools").string();
    };
    auto schools = opac::ReadCitySchools(
        write("# id\tname\tdata\tpassword\n"
              "east\tひがし小学校\tserver://east_opac@127.0.0.1:12005/east\tpw1\n"
              "west\tにし小学校\t/srv/west\n"));
    ASSERT_EQ(schools.size(), 2u);
    EXPECT_EQ(schools[0].password, "pw1");
    EXPECT_EQ(schools[1].data, "/srv/west");
    EXPECT_TRUE(opac::IsCityList("/etc/kashidashi/city.schools"));
    EXPECT_FALSE(opac::IsCityList("/srv/school"));
    for (const char* wrong :
         {"East\tx\t/srv\n", "a\tx\n", "a/b\tx\t/srv\n", "a\tx\t/s\na\ty\t/t\n", "# nothing\n"})
        EXPECT_THROW(opac::ReadCitySchools(write(wrong)), std::runtime_error) << wrong;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace opac_test
