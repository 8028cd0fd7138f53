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
        } else if (flag == "--fault") {
            const auto kind = ParseSimFaultKind(value);
            if (!kind)
                return fail("--fault must be garbage, oversized-length, stalled-length, "
                            "silence, close, reset or none: " +
                            value);
            o.fault.kind = *kind;
        } else if (flag == "--fault-at") {
            const auto moment = ParseSimFaultMoment(value);
            if (!moment)
                return fail("--fault-at must be at-login, after-login, mid-list or mid-frame: " +
                            value);
            o.fault.moment = *moment;
        } else if (flag == "--fault-on") {
            const auto target = ParseSimTarget(value);
            if (!target)
                return fail("--fault-on must be operator, channels or both: " + value);
            o.fault.target = *target;
        } else if (flag == "--fault-times") {
            if (!ToInteger(value, 0, std::numeric_limits<int>::max(), number))
                return fail("--fault-times must be a non-negative number: " + value);
            o.fault.times = static_cast<int>(number);
        } else if (flag == "--flood") {
            if (!ToRate(value, o.floodPerSecond))
                return fail("--flood must be a number of events per second: " + value);
        } else if (flag == "--flood-on") {
            const auto target = ParseSimTarget(value);
            if (!target)
                return fail("--flood-on must be operator, channels or both: " + value);
            o.floodTarget = *target;
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

Hostile modes, for trying a client against a broken or malicious server:
  --fault KIND            what the server does to a connection that logs in (or opens a
                          call channel):
                            garbage           bytes that are no frame
                            oversized-length  a frame header announcing more than 64 MiB
                            stalled-length    a header announcing just under 64 MiB, and
                                              then the body never comes
                            silence           nothing more is written; the connection
                                              stays open
                            close             an orderly close (FIN)
                            reset             an abortive close (RST)
                            none              no fault (default)
  --fault-at MOMENT       when it strikes:
                            at-login          in place of the log-in (channel opening) reply
                            after-login       right after that reply (default)
                            mid-list          halfway through the visitors list (channels:
                                              the participants list), which is cut there
                            mid-frame         halfway through the first frame after the reply
                          So "--fault silence --fault-at mid-frame" sends half a frame and
                          then nothing, "--fault close --fault-at mid-frame" half a frame
                          and then closes.
  --fault-on TARGET       operator (default), channels or both
  --fault-times N         connections struck before the server behaves again (default 0:
                          every one)
  --flood PER_SEC         a flood of events on top of the normal life (default 0: none): on
                          operator connections visitors arriving, announced again and
                          leaving (the crowd stays near --visitors) and operators changing
                          status; on call channels visitor chat lines (e.g. 10000)
  --flood-on TARGET       operator (default), channels or both
  -h, --help              show this help and exit

The first line on standard output is "parlendo-sim listening on HOST:PORT". The server runs
until it receives SIGINT or SIGTERM.
)";
}
