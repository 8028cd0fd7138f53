// The command line of parlendo-sim, parsed and then run for real.

#include "client_socket.h"
#include "message_codes.h"
#include "result_codes.h"
#include "sim_command_line.h"
#include "socket_message.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(SimCommandLineTest, ReadsEveryFlag)
{
    const SimCommandLine c = ParseSimCommandLine(
        {"--host", "127.0.0.2", "--port=3030", "--account", "ann:pw:Ann:Lee", "--account", "bob:x",
         "--visitors", "10000", "--arrival-rate", "2.5", "--chat-rate=0", "--seed", "99",
         "--version", "16", "--invite-accept", "1"});
    ASSERT_EQ(c.error, "");
    EXPECT_FALSE(c.help);
    EXPECT_EQ(c.options.host, "127.0.0.2");
    EXPECT_EQ(c.options.port, 3030);
    ASSERT_EQ(c.options.accounts.size(), 2u);
    EXPECT_EQ(c.options.accounts[0].lastName, "Lee");
    EXPECT_EQ(c.options.accounts[1].firstName, "bob"); // a missing first name is the user name
    EXPECT_EQ(c.options.initialVisitors, 10000);
    EXPECT_DOUBLE_EQ(c.options.arrivalPerMinute, 2.5);
    EXPECT_DOUBLE_EQ(c.options.chatPerMinute, 0);
    EXPECT_EQ(c.options.seed, 99u);
    EXPECT_EQ(c.options.version, 16);
    EXPECT_DOUBLE_EQ(c.options.inviteAcceptChance, 1);
}

TEST(SimCommandLineTest, ReadsTheHostileModes)
{
    const SimCommandLine c =
        ParseSimCommandLine({"--fault", "stalled-length", "--fault-at=mid-list", "--fault-on",
                             "both", "--fault-times", "3", "--flood", "10000", "--flood-on",
                             "channels"});
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.options.fault.kind, SimFaultKind::StalledLength);
    EXPECT_EQ(c.options.fault.moment, SimFaultMoment::MidList);
    EXPECT_EQ(c.options.fault.target, SimTarget::Both);
    EXPECT_EQ(c.options.fault.times, 3);
    EXPECT_DOUBLE_EQ(c.options.floodPerSecond, 10'000);
    EXPECT_EQ(c.options.floodTarget, SimTarget::Channels);
    // Off unless asked for.
    const SimCommandLine plain = ParseSimCommandLine({});
    EXPECT_EQ(plain.options.fault.kind, SimFaultKind::None);
    EXPECT_DOUBLE_EQ(plain.options.floodPerSecond, 0);
}

TEST(SimCommandLineTest, ReadsAnAccountsFile)
{
    const std::string path = ::testing::TempDir() + "sim_accounts.txt";
    std::ofstream(path) << "# operators\nann:pw:Ann:Lee\r\n\n  bob:pw2:Bob\n";
    const SimCommandLine c = ParseSimCommandLine({"--accounts-file", path});
    ASSERT_EQ(c.error, "");
    ASSERT_EQ(c.options.accounts.size(), 2u);
    EXPECT_EQ(c.options.accounts[0].lastName, "Lee");
    EXPECT_EQ(c.options.accounts[1].password, "pw2");
}

class SimCommandLineErrorTest : public ::testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P(SimCommandLineErrorTest, IsRefused)
{
    EXPECT_NE(ParseSimCommandLine(GetParam()).error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SimCommandLineErrorTest,
    ::testing::Values(
        std::vector<std::string>{"--host", "192.0.2.1"},
        std::vector<std::string>{"--host", "0.0.0.0"}, std::vector<std::string>{"--port", "65536"},
        std::vector<std::string>{"--port", "12x"}, std::vector<std::string>{"--account", "ann"},
        std::vector<std::string>{"--account", ":pw"},
        std::vector<std::string>{"--account", "a:b", "--account", "a:c"},
        std::vector<std::string>{"--visitors", "-1"},
        std::vector<std::string>{"--arrival-rate", "fast"},
        std::vector<std::string>{"--invite-accept", "2"},
        std::vector<std::string>{"--accounts-file", "/nonexistent/accounts"},
        std::vector<std::string>{"--seed"}, std::vector<std::string>{"--frobnicate", "1"},
        std::vector<std::string>{"--fault", "explode"},
        std::vector<std::string>{"--fault-at", "teatime"},
        std::vector<std::string>{"--fault-on", "visitors"},
        std::vector<std::string>{"--fault-times", "-1"},
        std::vector<std::string>{"--flood", "-5"},
        std::vector<std::string>{"--flood-on", "everyone"}));

// The program as scripts use it: the first line names the port, the account works, SIGTERM
// stops it cleanly.
TEST(SimProgramTest, AnnouncesItsPortServesAndStopsOnSigterm)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(PARLENDO_SIM_PROGRAM, "parlendo-sim", "--port", "0", "--account", "ann:pw:Ann:Lee",
                "--seed", "5", "--version", "17", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);

    std::string line;
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (line.size() < 200 && ::poll(&p, 1, 5'000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    const std::string prefix = "parlendo-sim listening on 127.0.0.1:";
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    const int port = std::stoi(line.substr(prefix.size()));
    ASSERT_GT(port, 0);

    CClientSocket socket(std::chrono::milliseconds(5'000));
    ASSERT_GE(socket.Connect("127.0.0.1", static_cast<std::uint16_t>(port)), 0);
    CSocketMessage login(msg::kLogin);
    login.AddField("ann");
    login.AddField("pw");
    ASSERT_GT(login.Send(socket), 0);
    CSocketMessage reply;
    ASSERT_GT(reply.Receive(socket), 0);
    EXPECT_EQ(reply.Code(), msg::kReplyOk);
    EXPECT_EQ(reply.GetIntField(msg::kLoginFieldVersion), 17);
    // Without --account flags only demo / demo exists; with them, demo is refused.
    CClientSocket other(std::chrono::milliseconds(5'000));
    ASSERT_GE(other.Connect("127.0.0.1", static_cast<std::uint16_t>(port)), 0);
    CSocketMessage demo(msg::kLogin);
    demo.AddField("demo");
    demo.AddField("demo");
    ASSERT_GT(demo.Send(other), 0);
    ASSERT_GT(reply.Receive(other), 0);
    EXPECT_EQ(reply.Code(), msg::kReplyFailed);
    EXPECT_EQ(reply.GetIntField(2), rc::kBadCredentials);

    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(out[0]);
}

TEST(SimProgramTest, HelpDocumentsEveryFlag)
{
    const std::string usage = SimUsage();
    for (const char* flag :
         {"--host", "--port", "--account", "--accounts-file", "--visitors", "--arrival-rate",
          "--chat-rate", "--invite-accept", "--seed", "--version", "--fault", "--fault-at",
          "--fault-on", "--fault-times", "--flood", "--flood-on", "--help"})
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    EXPECT_TRUE(ParseSimCommandLine({"--help"}).help);
}

} // namespace
