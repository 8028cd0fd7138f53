#include "sim_command_line.h"

#include "listen_socket.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

// Operator ids are account positions; visitor ids start above 1000 and must never meet them.
constexpr std::size_t kMaxAccounts = 999;
constexpr long long kMaxVisitors = 1'000'000;

bool ToInteger(const std::string& text, long long low, long long high, long long& out)
{
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && !text.empty() && out >= low && out <= high;
}

bool ToRate(const std::string& text, double& out)
{
    std::istringstream in(text);
    in >> out;
    return !text.empty() && in.eof() && !in.fail() && out >= 0 && out <= 10'000'000.0;
}

bool ReadAccountsFile(const std::string& path, std::vector<SimAccount>& accounts,
                      std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the accounts file " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        SimAccount account;
        if (!ParseSimAccount(line.substr(first), account)) {
            error = path + ":" + std::to_string(number) + ": expected USER:PASSWORD[:FIRST[:LAST]]";
            return false;
        }
        accounts.push_back(std::move(account));
    }
    return true;
}

} // namespace

bool ParseSimAccount(const std::string& text, SimAccount& account)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto colon = text.find(':', start);
        // The last name keeps any further colons.
        if (colon == std::string::npos || parts.size() == 3) {
            parts.push_back(text.substr(start));
            break;
        }
        parts.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty())
        return false;
    account.user = parts[0];
    account.password = parts[1];
    account.firstName = parts.size() > 2 && !parts[2].empty() ? parts[2] : parts[0];
    account.lastName = parts.size() > 3 ? parts[3] : std::string();
    return true;
}

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args)
{
    SimCommandLine result;
    SimOptions& o = result.options;
    auto fail = [&](std::string why) {
        result.error = std::move(why);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string flag = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = flag.find('='); flag.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = flag.substr(eq + 1);
            flag = flag.substr(0, eq);
            hasValue = true;
        }
        if (flag == "--help" || flag == "-h") {
            result.help = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size())
                return fail(flag.rfind("--", 0) == 0 ? flag + " needs a value"
                                                     : "unexpected argument " + flag);
            value = args[++i];
        }

        long long number = 0;
        if (flag == "--host") {
            if (!CListenSocket::IsLoopback(value))
                return fail("--host must be a loopback address (127.x.x.x or localhost): " + value);
            o.host = value;
        } else if (flag == "--port") {
            if (!ToInteger(value, 0, 65535, number))
                return fail("--port must be a number from 0 to 65535: " + value);
            o.port = static_cast<std::uint16_t>(number);
        } else if (flag == "--account") {
            SimAccount account;
            if (!ParseSimAccount(value, account))
                return fail("--account must be USER:PASSWORD[:FIRST[:LAST]]: " + value);
            o.accounts.push_back(std::move(account));
        } else if (flag == "--accounts-file") {
            std::string error;
            if (!ReadAccountsFile(value, o.accounts, error))
                return fail(error);
        } else if (flag == "--visitors") {
            if (!ToInteger(value, 0, kMaxVisitors, number))
                return fail("--visitors must be a number from 0 to 1000000: " + value);
            o.initialVisitors = static_cast<int>(number);
        } else if (flag == "--arrival-rate") {
            if (!ToRate(value, o.arrivalPerMinute))
                return fail("--arrival-rate must be a number of visitors per minute: " + value);
        } else if (flag == "--chat-rate") {
            if (!ToRate(value, o.chatPerMinute))
                return fail("--chat-rate must be a number of chat requests per minute: " + value);
        } else if (flag == "--invite-accept") {
            if (!ToRate(value, o.inviteAcceptChance) || o.inviteAcceptChance > 1)
                return fail("--invite-accept must be a number from 0 to 1: " + value);
        } else if (flag == "--seed") {
            if (!ToInteger(value, 0, std::numeric_limits<long long>::max(), number))
                return fail("--seed must be a non-negative number: " + value);
            o.seed = static_cast<std::uint64_t>(number);
        } else if (flag == "--version") {
            if (!ToInteger(value, 0, std::numeric_limits<std::int32_t>::max(), number))
                return fail("--version must be a non-negative number: " + value);
            o.version = static_cast<int>(number);
        } else {
            return fail("unknown option " + flag);
        }
    }

    if (o.accounts.size() > kMaxAccounts)
        return fail("at most 999 accounts");
    for (std::size_t i = 0; i < o.accounts.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (o.accounts[i].user == o.accounts[j].user)
                return fail("account " + o.accounts[i].user + " given twice");
    return result;
}

std::string SimUsage()
{
    return R"(Usage: parlendo-sim [OPTION]...
A simulated Parlendo chat server for one account: operators log in, visitors browse the
account's sites, ask for chats and answer in chat windows. For demos, tests and load.

  --host ADDRESS          loopback address to listen on (default 127.0.0.1; nothing else
                          is accepted)
  --port N                TCP port; 0 picks a free one (default 0)
  --account USER:PASSWORD[:FIRST[:LAST]]
                          an operator account; repeat for more. Without any, the account
                          demo / demo is accepted
  --accounts-file FILE    accounts, one USER:PASSWORD[:FIRST[:LAST]] a line ('#' comments)
  --visitors N            visitors browsing at the start; the crowd stays about this size
                          (default 12)
  --arrival-rate PER_MIN  new visitors per minute (default 4; 0: the crowd never changes)
  --chat-rate PER_MIN     chat requests per minute to online operators (default 1)
  --invite-accept P       chance that an invited visitor starts a chat, 0 to 1 (default 0.5)
  --seed S                random seed: the same seed gives the same visitors (default 1)
  --version V             client version reported at log-in; above 15 the console offers a
                          download (default 15)
  -h, --help              show this help and exit

The first line on standard output is "parlendo-sim listening on HOST:PORT". The server runs
until it receives SIGINT or SIGTERM.
)";
}
