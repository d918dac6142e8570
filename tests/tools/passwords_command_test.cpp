// passwords, web-switches and web-grants: the slips of a class with a new
// password each (six to a page, the passwords nowhere but the PDF, kept
// only hashed), the school's switches, and the grants of a catalogue role.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <sstream>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class PasswordsCommand : public BuiltToolFixture {};

QString PdfText(const std::string& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList PasswordsOf(const QString& text) {
    QStringList found;
    static const QRegularExpression password(QStringLiteral("パスワード\\s+([a-z2-9]{8})"));
    for (const auto& match : password.globalMatch(text)) found << match.captured(1);
    return found;
}

TEST_F(PasswordsCommand, AClassGetsSlipsWithNewPasswordsKeptOnlyHashed) {
    if (Stopped()) return;
    MakeDemoSchool();
    // Two classes make one class more than a page of slips.
    Sql("Update Name Set syozoku_ID=101 Where syozoku_ID=102");
    const std::string pdf = (scratch / "slips.pdf").string();
    auto run = RunBuiltTool({"passwords", folder, "--class", "101", "--school", "みどり小学校",
                             "--url", "https://opac.example.jp/", "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> members;
    for (const auto& user : Rows("Name"))
        if (user.at("syozoku_ID") == "101") members.push_back(user.at("NAME_ID"));
    ASSERT_GT(members.size(), 6u);
    const QString text = PdfText(pdf);
    const QStringList passwords = PasswordsOf(text);
    EXPECT_EQ(passwords.size(), static_cast<int>(members.size()));
    EXPECT_TRUE(text.contains(QStringLiteral("みどり小学校")));
    EXPECT_TRUE(text.contains(QStringLiteral("https://opac.example.jp/")));
    EXPECT_TRUE(text.contains(QStringLiteral("ほかの人に見せたり")));
    // Six slips a page.
    EXPECT_EQ(text.count(u'\f'), static_cast<int>((members.size() + 5) / 6));
    // One account per member, its password hashed, and no password printed
    // anywhere but the PDF.
    auto accounts = Rows("kx_web_account");
    ASSERT_EQ(accounts.size(), members.size());
    for (const auto& account : accounts) {
        EXPECT_EQ(account.at("PW_HASH").rfind("$argon2id$", 0), 0u);
        for (const QString& password : passwords) {
            EXPECT_EQ(account.at("PW_HASH").find(password.toStdString()), std::string::npos);
            EXPECT_FALSE(QString::fromStdString(run.out + run.err).contains(password));
        }
    }
    // One user again: only their hash changes.
    auto again = RunBuiltTool({"passwords", folder, "--user", members[0], "--pdf", pdf}, "again");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(PasswordsOf(PdfText(pdf)).size(), 1);
    auto after = Rows("kx_web_account");
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i) changed += after[i] != accounts[i];
    EXPECT_EQ(changed, 1);
}

TEST_F(PasswordsCommand, TheSwitchesAreOffUntilTurnedOnAndWrongUsesAreRefused) {
    if (Stopped()) return;
    MakeDemoSchool();
    auto shown = RunBuiltTool({"web-switches", folder});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "利用者のページ: 使わない、読書記録: 使わない、他の学校の本: 使わない、予約の上限: "
              "3冊\n");
    auto set = RunBuiltTool(
        {"web-switches", folder, "--pupil-page", "on", "--reservation-limit", "5"}, "set");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(
        set.out,
        "利用者のページ: 使う、読書記録: 使わない、他の学校の本: 使わない、予約の上限: 5冊\n");
    const std::string pdf = (scratch / "x.pdf").string();
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"web-switches", folder, "--pupil-page", "yes"}, 2, "on か off"},
        {{"web-switches", folder, "--reservation-limit", "0"}, 2, "1から20"},
        {{"web-switches", folder, "--reservation-limit", "x"}, 2, "1から20"},
        {{"passwords", folder, "--pdf", pdf}, 2, "どれか一つ"},
        {{"passwords", folder, "--all", "--class", "101", "--pdf", pdf}, 2, "どれか一つ"},
        {{"passwords", folder, "--all"}, 2, "--pdf"},
        {{"passwords", folder, "--user", "99999", "--pdf", pdf}, 1, "99999"},
        {{"passwords", folder, "--class", "abc", "--pdf", pdf}, 1, "所属コード"},
        {{"web-grants", "school07", "Robert'); DROP TABLE Book;--"}, 2, "ロール名"},
    };
    for (const auto& c : cases) {
        auto run = RunBuiltTool(c.args, "wrong");
        EXPECT_EQ(run.status, c.status) << c.args[2];
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(RunBuiltTool({"web-switches", folder}, "after").out, set.out);
}

TEST_F(PasswordsCommand, TheGrantsOfACatalogueRole) {
    if (Stopped()) return;
    auto run = RunBuiltTool({"web-grants", "school07", "school07_opac"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("GRANT SELECT, INSERT, DELETE ON \"yoyaku\" TO \"school07_opac\";"),
              std::string::npos);
    EXPECT_NE(run.out.find("GRANT UPDATE (\"yoyakuF\") ON \"Book\""), std::string::npos);
    // Of loans and users it may only read.
    for (const char* table : {"\"kashibo\"", "\"Name\""})
        for (std::string line; const auto& word : {"INSERT", "UPDATE", "DELETE"}) {
            std::istringstream lines(run.out);
            while (std::getline(lines, line))
                if (line.find(std::string("ON ") + table) != std::string::npos)
                    EXPECT_EQ(line.find(word), std::string::npos) << line;
        }
    EXPECT_EQ(run.out.find("UPDATE ON \"kashibo\""), std::string::npos);
    EXPECT_EQ(run.out.find("ALL TABLES"), std::string::npos);
}

}  // namespace
}  // namespace tools_test
