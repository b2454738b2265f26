#include "support/demo_site.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace brisma::test {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 10000;

std::string temporaryFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/brisma-demo-site-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

LoggedRequest parseRequestLine(const std::string& line)
{
    LoggedRequest request;
    std::istringstream words(line);
    words >> request.method >> request.target >> request.version;
    return request;
}

// Waits for the child without blocking forever.
int waitForExit(pid_t pid, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        int status = 0;
        const pid_t result = ::waitpid(pid, &status, WNOHANG);
        if (result == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (result < 0 && errno != EINTR) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

} // namespace

DemoSite::DemoSite(const std::vector<std::string>& arguments)
{
    m_folder = temporaryFolder();
    if (m_folder.empty()) {
        m_error = "cannot make a temporary folder";
        return;
    }
    m_logPath = m_folder + "/requests.log";
    start(arguments);
    if (!started()) {
        stop();
    }
}

DemoSite::~DemoSite()
{
    stop();
    if (!m_logPath.empty()) {
        ::unlink(m_logPath.c_str());
    }
    if (!m_folder.empty()) {
        ::rmdir(m_folder.c_str());
    }
}

void DemoSite::start(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words{BRISMA_DEMO_SITE_EXECUTABLE, "--port", "0", "--log", m_logPath};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        m_error = "cannot make a pipe";
        return;
    }
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(126);
        }
        ::dup2(output[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    m_output = output[0];
    if (m_pid < 0) {
        m_error = "cannot fork";
        return;
    }
    readPort(m_output);
}

bool DemoSite::readPort(int output)
{
    std::string line;
    for (int waited = 0; line.find('\n') == std::string::npos;) {
        pollfd descriptor{output, POLLIN, 0};
        if (waited >= kStartTimeoutMs) {
            m_error = "no port announced within " + std::to_string(kStartTimeoutMs) + " ms";
            return false;
        }
        if (::poll(&descriptor, 1, 100) <= 0) {
            waited += 100;
            continue;
        }
        char chunk[256];
        const ssize_t count = ::read(output, chunk, sizeof chunk);
        if (count <= 0) {
            m_error = "the demo site ended before it listened (see its stderr)";
            return false;
        }
        line.append(chunk, static_cast<std::size_t>(count));
    }
    const std::string prefix = "listening on 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) {
        m_error = "unexpected first line: " + line;
        return false;
    }
    m_port = std::atoi(line.c_str() + prefix.size());
    return m_port > 0;
}

Text DemoSite::host() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

Text DemoSite::url(const std::string& path) const
{
    return "http://" + host() + path;
}

std::vector<LoggedRequest> DemoSite::requests() const
{
    std::vector<LoggedRequest> result;
    std::ifstream log(m_logPath, std::ios::binary);
    std::string line;
    bool inRequest = false;
    while (std::getline(log, line)) {
        if (line.empty()) {
            inRequest = false;
        } else if (!inRequest) {
            result.push_back(parseRequestLine(line));
            inRequest = true;
        } else {
            result.back().headers.push_back(line);
        }
    }
    return result;
}

std::vector<std::string> DemoSite::requestedTargets() const
{
    std::vector<std::string> targets;
    for (const LoggedRequest& request : requests()) {
        targets.push_back(request.target);
    }
    return targets;
}

int DemoSite::stop()
{
    int status = -1;
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        status = waitForExit(m_pid, kStopTimeoutMs);
        m_pid = -1;
    }
    if (m_output >= 0) {
        ::close(m_output);
        m_output = -1;
    }
    m_port = 0;
    return status;
}

} // namespace brisma::test
