// brisma-demo-site: the local stand-in for the movie site, its image server
// and the update server. See README.md in this folder.

#include "demo-site/options.h"
#include "demo-site/server.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

namespace {

using namespace brisma::demo;
using brisma::Text;

int fail(const std::string& message, int code)
{
    std::fprintf(stderr, "brisma-demo-site: %s\n", message.c_str());
    return code;
}

// SIGINT and SIGTERM stop the server from a thread of their own, so the
// server shuts down cleanly instead of dying in the middle of a request.
sigset_t blockStopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

void stopOnSignal(DemoServer& server, sigset_t signals)
{
    std::thread([&server, signals] {
        int received = 0;
        sigwait(&signals, &received);
        while (!server.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        server.stop();
    }).detach();
}

Text hostFor(int port)
{
    return port == 80 ? Text("127.0.0.1") : "127.0.0.1:" + std::to_string(port);
}

} // namespace

int main(int argc, char** argv)
{
    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        return fail(parsed.error + " (see --help)", 2);
    }
    Options options = *parsed.options;
    if (options.help) {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }

    const sigset_t stopSignals = blockStopSignals();
    ::signal(SIGPIPE, SIG_IGN);

    RequestLog log;
    if (!options.logFile.empty() && !log.open(options.logFile)) {
        return fail("cannot open the log file " + options.logFile, 1);
    }
    DemoServer server(options.logFile.empty() ? nullptr : &log, options.delayMs);
    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
    } else if (!server.bind_to_port("127.0.0.1", port)) {
        port = -1;
    }
    if (port <= 0) {
        return fail("cannot listen on 127.0.0.1:" + std::to_string(options.port), 1);
    }

    options.site.hosts.site = hostFor(port);
    const Site site(options.site);
    server.setSite(&site);
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);

    stopOnSignal(server, stopSignals);
    return server.listen_after_bind() ? 0 : 1;
}
