#include "SnmpAgent.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace qlmib::test {
namespace {

using Clock = std::chrono::steady_clock;

class Socket {
public:
    explicit Socket(int family, int type = SOCK_DGRAM) : fd_(::socket(family, type | SOCK_CLOEXEC, 0)) {
        if (fd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    }
    ~Socket() { ::close(fd_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

sockaddr_in loopback4(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool canBind6(int port, int type = SOCK_DGRAM) {
    Socket socket(AF_INET6, type);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_port = htons(static_cast<uint16_t>(port));
    address.sin6_addr = in6addr_loopback;
    return ::bind(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool canBindTcp(int port) {
    Socket socket(AF_INET, SOCK_STREAM);
    const auto address = loopback4(port);
    return ::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           canBind6(port, SOCK_STREAM);
}

std::string findSnmpd() {
    std::vector<std::string> candidates = {"/usr/sbin/snmpd", "/usr/local/sbin/snmpd"};
    if (const char* path = std::getenv("PATH")) {
        std::stringstream dirs(path);
        for (std::string dir; std::getline(dirs, dir, ':');)
            if (!dir.empty()) candidates.push_back(dir + "/snmpd");
    }
    for (const auto& candidate : candidates)
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    throw std::runtime_error("snmpd not found: the live SNMP tests need Debian's snmpd package (scripts/setup installs it)");
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A v2c GET of sysUpTime.0 with community "public": any reply means the agent serves.
constexpr unsigned char kProbe[] = {
    0x30, 0x26, 0x02, 0x01, 0x01, 0x04, 0x06, 'p',  'u',  'b',  'l',  'i',  'c',  0xa0,
    0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0e, 0x30, 0x0c,
    0x06, 0x08, 0x2b, 0x06, 0x01, 0x02, 0x01, 0x01, 0x03, 0x00, 0x05, 0x00,
};

}  // namespace

int UnusedUdpPort() {
    Socket socket(AF_INET);
    auto address = loopback4(0);
    socklen_t length = sizeof address;
    if (::bind(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error(std::string("no free UDP port: ") + std::strerror(errno));
    return ntohs(address.sin_port);
}

SnmpAgent::SnmpAgent(bool ipv6) {
    const std::string snmpd = findSnmpd();
    std::string pattern = (std::filesystem::temp_directory_path() / "qlmib-snmpd-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    folder_ = pattern;
    std::filesystem::create_directories(folder_ / "persist");

    std::ofstream conf(folder_ / "snmpd.conf");
    // The listening address is given on the command line only: naming it here
    // as well would make snmpd bind twice and exit.
    // The write community reads everything but may write only what lives in
    // snmpd itself (system, snmpEnableAuthenTraps), never the host's interfaces.
    conf << "com2sec readers 127.0.0.1 " << kReadCommunity << "\n"
         << "com2sec writers 127.0.0.1 " << kWriteCommunity << "\n";
    if (ipv6)
        conf << "com2sec6 readers ::1 " << kReadCommunity << "\n"
             << "com2sec6 writers ::1 " << kWriteCommunity << "\n";
    for (const char* model : {"v1", "v2c"})
        conf << "group readers " << model << " readers\n"
             << "group writers " << model << " writers\n";
    conf << "group v3noauth usm noauth\n";
    for (const auto& user : V3Users()) {
        if (user.level == "noAuthNoPriv") continue;
        conf << "createUser " << user.name << ' ' << user.auth << ' ' << kAuthPassphrase;
        if (!user.priv.empty()) conf << ' ' << user.priv << ' ' << kPrivPassphrase;
        conf << "\ngroup " << (user.priv.empty() ? "v3auth" : "v3priv") << " usm " << user.name << '\n';
    }
    conf << "createUser noauth\n"
         << "access v3noauth \"\" usm noauth exact all agent none\n"
         << "access v3auth \"\" usm auth exact all agent none\n"
         << "access v3priv \"\" usm priv exact all agent none\n";
    conf << "view all included .1\n"
         << "view agent included .1.3.6.1.2.1.1\n"
         << "view agent included .1.3.6.1.2.1.11.30\n"
         << "access readers \"\" any noauth exact all none none\n"
         << "access writers \"\" any noauth exact all agent none\n";
    // A value given here is read-only to SNMP; sysContact and sysLocation stay writable.
    conf << "sysName " << kSysName << "\n"
         << "dontLogTCPWrappersConnects yes\n";
    conf.close();

    // Another process may take the port between our check and snmpd's bind.
    for (int attempt = 0; attempt < 5; ++attempt)
        if (start(snmpd, ipv6)) return;
    const std::string log = readFile(folder_ / "snmpd.log");
    std::filesystem::remove_all(folder_);
    throw std::runtime_error("snmpd did not come up; its log:\n" + log);
}

SnmpAgent::~SnmpAgent() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

const std::vector<SnmpAgent::V3User>& SnmpAgent::V3Users() {
    static const std::vector<V3User> users = {
        {"noauth", "noAuthNoPriv", "", ""},
        {"auth-md5", "authNoPriv", "MD5", ""},
        {"auth-sha", "authNoPriv", "SHA", ""},
        {"auth-sha224", "authNoPriv", "SHA-224", ""},
        {"auth-sha256", "authNoPriv", "SHA-256", ""},
        {"auth-sha384", "authNoPriv", "SHA-384", ""},
        {"auth-sha512", "authNoPriv", "SHA-512", ""},
        {"priv-aes", "authPriv", "SHA-256", "AES"},
        {"priv-des", "authPriv", "SHA-256", "DES"},
        {"priv-aes192", "authPriv", "SHA-256", "AES-192"},
        // SHA gives fewer octets than AES-256 needs: its key is extended.
        {"priv-aes256", "authPriv", "SHA", "AES-256"},
    };
    return users;
}

const SnmpAgent::V3User& SnmpAgent::V3UserOf(const std::string& level) {
    for (const auto& user : V3Users())
        if (user.level == level) return user;
    throw std::invalid_argument("no v3 user of level " + level);
}

SnmpAgent& SnmpAgent::Shared() {
    static SnmpAgent agent;
    return agent;
}

bool SnmpAgent::start(const std::string& snmpd, bool ipv6) {
    do port_ = UnusedUdpPort();
    while (ipv6 && !(canBind6(port_) && canBindTcp(port_)));

    const std::string port = std::to_string(port_);
    std::string listen = "udp:127.0.0.1:" + port;
    if (ipv6) listen += ",udp6:[::1]:" + port + ",tcp:127.0.0.1:" + port + ",tcp6:[::1]:" + port;
    const std::string confPath = (folder_ / "snmpd.conf").string(), logPath = (folder_ / "snmpd.log").string();
    std::vector<std::string> args = {snmpd, "-f", "-Lf", logPath, "-C", "-c", confPath, "-I", "-smux", listen};
    std::vector<std::string> env = {"SNMPCONFPATH=" + folder_.string(),
                                    "SNMP_PERSISTENT_DIR=" + (folder_ / "persist").string(), "MIBS=", "MIBDIRS="};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("SNMP", 0) != 0 && entry.rfind("MIB", 0) != 0) env.push_back(entry);
    }
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string outPath = (folder_ / "snmpd.out").string();
    const pid_t parent = ::getpid();

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed test
        if (::getppid() != parent) ::_exit(127);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    if (answers(10000)) return true;
    stop();
    return false;
}

bool SnmpAgent::answers(int timeoutMs) {
    Socket socket(AF_INET);
    const auto agent = loopback4(port_);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {  // it exited: port taken or bad configuration
            pid_ = -1;
            return false;
        }
        ::sendto(socket.fd(), kProbe, sizeof kProbe, 0, reinterpret_cast<const sockaddr*>(&agent), sizeof agent);
        pollfd fd{socket.fd(), POLLIN, 0};
        if (::poll(&fd, 1, 100) == 1) {
            unsigned char reply[1500];
            if (::recv(socket.fd(), reply, sizeof reply, 0) > 0) return true;
        }
    }
    return false;
}

void SnmpAgent::stop() {
    if (pid_ <= 0) return;
    if (::kill(pid_, SIGTERM) == 0) {
        const auto deadline = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < deadline) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(pid_, SIGKILL);
    }
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace qlmib::test
