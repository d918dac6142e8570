// scripts/server, as a school runs it: a cluster in a folder of its own on a
// free port, the role and database the desk's settings name by default with
// the ten data tables, the password printed once; run again after a stop, it
// starts the same cluster. Needs PostgreSQL installed (scripts/setup installs
// it); the server tests' KX_PG_REQUIRED makes its absence a failure.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "engine/pg_test_server.h"
#include "engine/session/data_location.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

const std::string kTop = std::string(KX_TEST_DATA) + "/..";

// A TCP port of 127.0.0.1 that nothing listens on now.
int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

bool PostgresInstalled() {
    return std::system("ls -d /usr/lib/postgresql/*/bin/initdb >/dev/null 2>&1") == 0;
}

// The indented line of the script's message: the password of "Admin".
std::string PrintedPassword(const std::string& out) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("    ", 0) == 0 && line.find(' ', 4) == std::string::npos)
            return line.substr(4);
    return "";
}

class ServerScriptTest : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        if (!PostgresInstalled()) {
            if (engine::testing::ServerRequired()) FAIL() << "PostgreSQL is not installed";
            GTEST_SKIP() << "PostgreSQL is not installed (scripts/setup installs it)";
        }
        dir = (scratch / "server").string();
        port = std::to_string(FreePort());
#ifdef KX_ADMIN_TOOL
        setenv("KX_ADMIN", KX_ADMIN_TOOL, 1);
#endif
    }
    void TearDown() override {
        if (!dir.empty()) Stop();
        unsetenv("KX_ADMIN");
        unsetenv("KASHIDASHI_PASSWORD");
        ToolsFixture::TearDown();
    }
    void Stop() {
        std::system(("bash -c 'source \"" + kTop +
                     "/scripts/lib/pg-cluster.sh\"; pg_cluster_stop \"" + dir + "\"'")
                        .c_str());
    }
    // The data tables on the school's server, as a desk with the default
    // names reaches them.
    std::vector<std::string> Tables(const std::string& password) {
        setenv("KASHIDASHI_PASSWORD", password.c_str(), 1);
        auto location = engine::RequireLocation("server://Admin@127.0.0.1:" + port + "/Book");
        auto names = engine::OpenLocation(location)->TableNames();
        for (auto& name : names) std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir, port;
};

TEST_F(ServerScriptTest, MakesASchoolsServerThatADeskWithTheDefaultNamesReaches) {
    const std::vector<std::string> ten = {"book", "hkn",     "kashibo", "name",   "ndc",
                                          "reg",  "syozoku", "ukeire",  "yoyaku", "zaigen"};
    CommandRun made = RunProgram(kTop + "/scripts/server", {dir, port}, "made");
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    const std::string password = PrintedPassword(made.out);
    ASSERT_GE(password.size(), 16u) << made.out;
    EXPECT_EQ(Tables(password), ten);

    Stop();
    CommandRun started = RunProgram(kTop + "/scripts/server", {dir, port}, "started");
    ASSERT_EQ(started.status, 0) << started.out << started.err;
    EXPECT_NE(started.out.find("Started the server"), std::string::npos) << started.out;
    EXPECT_EQ(PrintedPassword(started.out), "");  // printed once only
    EXPECT_EQ(Tables(password), ten);
}

}  // namespace
}  // namespace tools_test
