// Ten sequential WebRequests of a 60 KB page from a loopback server: with the
// connection pool, with a fresh connection per call, and - for scale - the
// same ten URLs fetched by the curl command line on one connection. Prints
// the three figures and their ratios after the runs.
#include "platform/wininet.h"
#include "web/web_request.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

using namespace brisma;

namespace {

constexpr std::size_t pageSize = 60 * 1024;
constexpr int pagesPerRound = 10;

// Answers every GET with the same 60 KB page and keeps connections open.
class PageServer
{
public:
    PageServer()
    {
        std::string page;
        while (page.size() < pageSize) {
            page += "<tr><td class=\"title\">movie</td><td>2026-12-11</td></tr>\r\n";
        }
        page.resize(pageSize);
        m_response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                     std::to_string(page.size()) + "\r\n\r\n" + page;

        (void)!::pipe2(m_stop, O_CLOEXEC);
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listen, 64);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_acceptThread = std::thread([this] { acceptLoop(); });
    }

    ~PageServer()
    {
        (void)!::write(m_stop[1], "s", 1);
        m_acceptThread.join();
        for (std::thread& thread : m_threads) {
            thread.join();
        }
        ::close(m_listen);
        ::close(m_stop[0]);
        ::close(m_stop[1]);
    }

    std::string url(int page) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/index_" + std::to_string(page) +
               ".htm";
    }

    int connections() const { return m_connections; }

private:
    bool waitReadable(int fd) const
    {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        return ::poll(fds, 2, -1) > 0 && fds[1].revents == 0;
    }

    void serve(int fd) const
    {
        std::string pending;
        char buffer[8192];
        while (waitReadable(fd)) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                break;
            }
            pending.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end = pending.find("\r\n\r\n"); end != std::string::npos;
                 end = pending.find("\r\n\r\n")) {
                pending.erase(0, end + 4);
                if (::send(fd, m_response.data(), m_response.size(), MSG_NOSIGNAL) < 0) {
                    break;
                }
            }
        }
        ::close(fd);
    }

    void acceptLoop()
    {
        while (waitReadable(m_listen)) {
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                ++m_connections;
                m_threads.emplace_back([this, fd] { serve(fd); });
            }
        }
    }

    std::string m_response;
    int m_stop[2] = {-1, -1};
    int m_listen = -1;
    std::uint16_t m_port = 0;
    std::atomic<int> m_connections{0};
    std::thread m_acceptThread;
    std::vector<std::thread> m_threads;
};

PageServer& server()
{
    static PageServer instance;
    return instance;
}

void fetchTenPages(benchmark::State& state, bool freshConnections)
{
    platform::wininet::TestSettings settings;
    settings.freshConnectionPerCall = freshConnections;
    platform::wininet::ScopedTestSettings scoped(settings);
    const int connectionsBefore = server().connections();
    for (auto _ : state) {
        for (int page = 1; page <= pagesPerRound; ++page) {
            const Text body = web::WebRequest(server().url(page));
            if (body.size() != pageSize) {
                state.SkipWithError("the page did not arrive whole");
                return;
            }
        }
    }
    state.counters["connections"] = server().connections() - connectionsBefore;
}

void BM_WebRequestPooled(benchmark::State& state)
{
    fetchTenPages(state, false);
}

void BM_WebRequestFreshConnection(benchmark::State& state)
{
    fetchTenPages(state, true);
}

// One curl process fetches all ten, reusing its connection.
void BM_CurlCommandLine(benchmark::State& state)
{
    std::vector<std::string> arguments = {"curl", "-s", "--noproxy", "*"};
    for (int page = 1; page <= pagesPerRound; ++page) {
        arguments.insert(arguments.end(), {"-o", "/dev/null", server().url(page)});
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("the curl command line is not installed");
            return;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("curl failed");
            return;
        }
    }
}

BENCHMARK(BM_WebRequestPooled)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WebRequestFreshConnection)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's time per round of ten so the ratios can be shown.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                m_milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printSummary() const
    {
        const double pooled = find("BM_WebRequestPooled");
        const double fresh = find("BM_WebRequestFreshConnection");
        const double curl = find("BM_CurlCommandLine");
        std::printf("\nTen 60 KB pages from loopback, per round:\n"
                    "  WebRequest, pooled connection   %8.3f ms\n"
                    "  WebRequest, fresh connection    %8.3f ms\n"
                    "  curl command line, one process  %8.3f ms\n",
                    pooled, fresh, curl);
        if (pooled > 0 && fresh > 0 && curl > 0) {
            std::printf("  fresh / pooled  %.2f\n  pooled / curl   %.2f\n  fresh / curl    %.2f\n",
                        fresh / pooled, pooled / curl, fresh / curl);
        }
    }

private:
    double find(const std::string& name) const
    {
        const auto it = m_milliseconds.find(name);
        return it == m_milliseconds.end() ? 0.0 : it->second;
    }

    std::map<std::string, double> m_milliseconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
