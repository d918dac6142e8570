// The pupils' pages over the real HTTP server: off until the school turns
// them on; login with the login form's token, wrong passwords and the lock;
// the session cookie's attributes; the own page with an overdue loan;
// reserving and cancelling with the session's form token (a post without it
// changes nothing); another pupil's data never reachable; logout and the
// change of password ending the sessions; every kanji with its reading.
#include <QList>
#include <QString>
#include <regex>

#include "engine/common/dates.h"
#include "engine/storage/open_local.h"
#include "library/accounts/web_accounts.h"
#include "library/accounts/web_switches.h"
#include "library/sql_rows.h"
#include "opac/pupil_places.h"
#include "opac/server_fixture.h"

namespace opac_test {
namespace {

using namespace kashidashi;

std::string Cookie(const Answer& answer, const std::string& name) {
    auto it = answer.headers.find("set-cookie");
    if (it == answer.headers.end() || it->second.rfind(name + "=", 0) != 0) return "";
    return it->second.substr(name.size() + 1, it->second.find(';') - name.size() - 1);
}

std::string FormToken(const std::string& body) {
    std::smatch m;
    return std::regex_search(body, m, std::regex("name=\"form\" value=\"([^\"]*)\"")) ? m[1].str()
                                                                                      : "";
}

std::string Encode(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c) || c == '-' || c == '_') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

class PupilPagesTest : public ServerFixture {
  protected:
    void SetUp() override {
        ServerFixture::SetUp();
        AddBook(1, "うちゅうのふしぎ", "", "", "ISBN='978400000001'");
        AddBook(2, "うちゅうのふしぎ", "", "", "ISBN='978400000001'");
        AddBook(3, "きょうりゅう", "", "", "kashidashiF=True");
        AddBook(4, "ひみつのにっき", "", "", "kashidashiF=True");
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
            " ('100001', '10101', 'あおき　いちろう', 1, 101);"
            "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
            " ('100002', '10102', 'いのうえ　はなこ', 1, 101);"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
            " kashidashiF) Values (3, '100001', '10101', '2025/05/20', '2025/06/03', '1');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
            " kashidashiF) Values (4, '100002', '10102', '2025/05/20', '2099/06/03', '1')");
        passwordA = accounts::IssuePassword(*writer, "100001", engine::Now());
        passwordB = accounts::IssuePassword(*writer, "100002", engine::Now());
        opac::PupilPlaces::Instance().Clear();
        std::string data = folder.string();
        opac::PupilPlaces::Instance().Add("", [data] { return engine::storage::OpenLocal(data); });
    }
    void TearDown() override {
        opac::PupilPlaces::Instance().Clear();
        ServerFixture::TearDown();
    }
    void TurnOn(bool record = false) {
        accounts::WriteWebSwitches(*writer, {true, record, false, 3});
        opac::PupilPlaces::Instance().ForgetSwitches("");
    }
    Answer Post(const std::string& path, const std::string& body, const std::string& cookie,
                const std::string& extra = "") {
        return SendRaw(port, "POST " + path +
                                 " HTTP/1.1\r\nHost: x\r\nContent-Type: "
                                 "application/x-www-form-urlencoded\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\nCookie: " + cookie + "\r\n" +
                                 extra + "Connection: close\r\n\r\n" + body);
    }
    // Logs in; the session cookie ("kx_session=...") or "".
    std::string LogIn(const std::string& number, const std::string& password,
                      Answer* answer = nullptr, const std::string& extra = "") {
        Answer form = Get(port, "/login");
        const std::string login = "kx_login=" + Cookie(form, "kx_login");
        Answer done = Post(
            "/login",
            "form=" + FormToken(form.body) + "&number=" + number + "&password=" + Encode(password),
            login, extra);
        if (answer) *answer = done;
        const std::string session = Cookie(done, "kx_session");
        return session.empty() ? "" : "kx_session=" + session;
    }
    size_t Reservations() {
        return library::SelectRows(*writer, "Select Book_ID From yoyaku").rows.size();
    }
    std::string passwordA, passwordB;
};

TEST_F(PupilPagesTest, ThePagesAreOffUntilTheSchoolTurnsThemOn) {
    StartServer();
    for (const char* path : {"/login", "/me", "/password"})
        EXPECT_EQ(Get(port, path).status, 404) << path;
    EXPECT_EQ(Post("/login", "form=x&number=10101&password=" + passwordA, "kx_login=x").status,
              404);
    EXPECT_EQ(Get(port, "/book/1").body.find("/login"), std::string::npos);
    EXPECT_EQ(Get(port, "/").body.find("わたしのページ"), std::string::npos);
    TurnOn();
    EXPECT_EQ(Get(port, "/login").status, 200);
    EXPECT_NE(Get(port, "/").body.find("わたしのページ"), std::string::npos);
    EXPECT_NE(Get(port, "/book/1").body.find("ログインすると"), std::string::npos);
}

TEST_F(PupilPagesTest, LoginNeedsItsFormTokenAndTheRightPasswordAndLocksAfterFive) {
    TurnOn();
    StartServer();
    Answer form = Get(port, "/login");
    EXPECT_NE(form.headers["set-cookie"].find("; Path=/; HttpOnly; SameSite=Strict"),
              std::string::npos);
    // Without the login form's token, or with another: refused before any check.
    const std::string good = "&number=10101&password=" + passwordA;
    EXPECT_EQ(Post("/login", "form=" + FormToken(form.body) + good, "").status, 403);
    EXPECT_EQ(Post("/login", good, "kx_login=" + Cookie(form, "kx_login")).status, 403);
    EXPECT_EQ(Post("/login", "form=abc" + good, "kx_login=" + Cookie(form, "kx_login")).status,
              403);
    // Wrong passwords and unknown numbers get one answer.
    Answer wrong;
    EXPECT_EQ(LogIn("10101", "nope", &wrong), "");
    EXPECT_NE(wrong.body.find("パスワードがちがいます"), std::string::npos);
    EXPECT_EQ(LogIn("99999", passwordA, &wrong), "");
    EXPECT_NE(wrong.body.find("パスワードがちがいます"), std::string::npos);
    // The right one: the own page, in a cookie the page's scripts cannot read.
    Answer done;
    ASSERT_NE(LogIn("10101", passwordA, &done), "");
    EXPECT_EQ(done.status, 303);
    EXPECT_EQ(done.headers["location"], "/me");
    EXPECT_NE(done.headers["set-cookie"].find("; Path=/; HttpOnly; SameSite=Strict"),
              std::string::npos);
    EXPECT_EQ(done.headers["set-cookie"].find("Secure"), std::string::npos);
    // Behind a TLS proxy the cookie is Secure.
    LogIn("10101", passwordA, &done, "X-Forwarded-Proto: https\r\n");
    EXPECT_NE(done.headers["set-cookie"].find("; Secure"), std::string::npos);
    // Five wrong passwords lock the account, the right one included.
    for (int i = 0; i < 4; ++i) LogIn("10102", "nope");
    EXPECT_EQ(LogIn("10102", "nope", &wrong), "");
    EXPECT_NE(wrong.body.find("15"), std::string::npos);
    EXPECT_EQ(LogIn("10102", passwordB, &wrong), "");
    EXPECT_NE(wrong.body.find("15"), std::string::npos);
    EXPECT_NE(LogIn("10101", passwordA), "");  // another pupil is not locked
}

TEST_F(PupilPagesTest, TheOwnPageReservingCancellingAndLoggingOut) {
    TurnOn(true);
    StartServer();
    EXPECT_EQ(Get(port, "/me").headers["location"], "/login");
    const std::string a = LogIn("10101", passwordA);
    ASSERT_NE(a, "");
    Answer me = Get(port, "/me", a);
    ASSERT_EQ(me.status, 200);
    EXPECT_NE(me.body.find("あおき　いちろう"), std::string::npos);
    EXPECT_NE(me.body.find("きょうりゅう"), std::string::npos);
    EXPECT_NE(me.body.find("class=\"state overdue\""), std::string::npos);
    EXPECT_NE(me.body.find("読んだ本"), std::string::npos);
    const std::string token = FormToken(me.body);
    // A reserve without the form token (another site's form) changes nothing.
    EXPECT_EQ(Post("/reserve", "book=1", a).status, 403);
    EXPECT_EQ(Post("/reserve", "book=1&form=" + token + "x", a).status, 403);
    EXPECT_EQ(Reservations(), 0u);
    // With it: reserved, and first in the title's queue.
    Answer reserved = Post("/reserve", "book=1&form=" + token, a);
    EXPECT_EQ(reserved.status, 200);
    EXPECT_NE(reserved.body.find("1番目"), std::string::npos);
    EXPECT_EQ(Reservations(), 1u);
    EXPECT_NE(Post("/reserve", "book=2&form=" + token, a).body.find("もう予約しています"),
              std::string::npos);
    EXPECT_NE(Post("/reserve", "book=3&form=" + token, a).body.find("借りています"),
              std::string::npos);
    EXPECT_EQ(Post("/reserve", "book=x&form=" + token, a).status, 400);
    me = Get(port, "/me", a);
    EXPECT_NE(me.body.find("1番目"), std::string::npos);
    // The book's page offers the form to a logged-in pupil.
    EXPECT_NE(Get(port, "/book/4", a).body.find("action=\"/reserve\""), std::string::npos);
    // Cancel: not without the token, then gone.
    EXPECT_EQ(Post("/cancel", "book=1", a).status, 403);
    EXPECT_EQ(Reservations(), 1u);
    EXPECT_EQ(Post("/cancel", "book=1&form=" + token, a).headers["location"], "/me?said=cancelled");
    EXPECT_EQ(Reservations(), 0u);
    // Logout needs the token too; after it the cookie opens nothing.
    EXPECT_EQ(Post("/logout", "", a).status, 403);
    EXPECT_EQ(Get(port, "/me", a).status, 200);
    EXPECT_EQ(Post("/logout", "form=" + token, a).status, 303);
    EXPECT_EQ(Get(port, "/me", a).headers["location"], "/login");
}

TEST_F(PupilPagesTest, AnotherPupilsDataIsNeverReachable) {
    TurnOn(true);
    StartServer();
    const std::string b = LogIn("10102", passwordB);
    ASSERT_NE(b, "");
    const std::string tokenB = FormToken(Get(port, "/me", b).body);
    ASSERT_EQ(Post("/reserve", "book=2&form=" + tokenB, b).status, 200);
    const std::string a = LogIn("10101", passwordA);
    const std::string tokenA = FormToken(Get(port, "/me", a).body);
    // Numbers in the address, the query or a changed cookie show nothing of B.
    for (const char* target :
         {"/me?user=100002", "/me?number=10102", "/me/100002", "/me?said=cancelled&name=100002"}) {
        Answer page = Get(port, target, a);
        EXPECT_EQ(page.body.find("いのうえ"), std::string::npos) << target;
        EXPECT_EQ(page.body.find("ひみつのにっき"), std::string::npos) << target;
    }
    std::string changed = b;
    changed.back() = changed.back() == 'A' ? 'B' : 'A';
    EXPECT_EQ(Get(port, "/me", changed).headers["location"], "/login");
    // A's token does not act for B's session, and A cannot cancel B's reservation.
    EXPECT_EQ(Post("/cancel", "book=2&form=" + tokenA, b).status, 403);
    EXPECT_EQ(Post("/cancel", "book=2&form=" + tokenA, a).headers["location"], "/me?said=none");
    EXPECT_EQ(Reservations(), 1u);
    EXPECT_NE(Get(port, "/me", b).body.find("1番目"), std::string::npos);
}

TEST_F(PupilPagesTest, AChangedPasswordEndsTheOtherSessions) {
    TurnOn();
    StartServer();
    const std::string tablet = LogIn("10101", passwordA);
    const std::string home = LogIn("10101", passwordA);
    const std::string token = FormToken(Get(port, "/password", home).body);
    const std::string body = "form=" + token + "&present=" + passwordA;
    EXPECT_NE(
        Post("/password", body + "&chosen=hoshizora7&again=hoshizora8", home).body.find("二つの"),
        std::string::npos);
    EXPECT_NE(Post("/password",
                   "form=" + token + "&present=nope&chosen=hoshizora7&again=hoshizora7", home)
                  .body.find("今のパスワードがちがいます"),
              std::string::npos);
    EXPECT_EQ(Post("/password", body + "&chosen=hoshizora7&again=hoshizora7", "").status, 303);
    Answer changed = Post("/password", body + "&chosen=hoshizora7&again=hoshizora7", home);
    EXPECT_NE(changed.body.find("変えました"), std::string::npos);
    EXPECT_EQ(Get(port, "/me", tablet).headers["location"], "/login");
    EXPECT_EQ(Get(port, "/me", "kx_session=" + Cookie(changed, "kx_session")).status, 200);
    EXPECT_EQ(LogIn("10101", passwordA), "");
    EXPECT_NE(LogIn("10101", "hoshizora7"), "");
}

TEST_F(PupilPagesTest, EveryKanjiOfThePupilsPagesHasItsReading) {
    TurnOn(true);
    StartServer();
    const std::string a = LogIn("10101", passwordA);
    for (const char* target : {"/login", "/me", "/password", "/book/1"}) {
        const bool login = std::string(target) == "/login";  // a session goes on to /me
        Answer page = Get(port, target, (login ? "" : a + "; ") + "kx_furigana=1");
        ASSERT_EQ(page.status, 200) << target;
        std::string body = page.body.substr(page.body.find("<body"));
        body = std::regex_replace(body, std::regex("<ruby>.*?</ruby>"), "");
        body = std::regex_replace(body, std::regex("<[^>]*>"), "");
        body = std::regex_replace(body, std::regex("テスト小学校"), "");  // a stored name
        for (uint c : QString::fromStdString(body).toUcs4())
            EXPECT_FALSE((c >= 0x4E00 && c <= 0x9FFF) || c == 0x3005)
                << target << ": U+" << std::hex << c << std::dec << " in " << body;
    }
}

}  // namespace
}  // namespace opac_test
