#pragma once

#include "text/types.h"

#include <string>
#include <sys/types.h>
#include <vector>

// Starts the local demo site (tools/demo-site) for one test: on a free port of
// 127.0.0.1, with a request log in a temporary folder, stopped and cleaned up
// by the destructor. Which movie page has which variant is in
// tools/demo-site/movies.h (link brisma_demo_content to use it).
//
//     brisma::test::DemoSite site({"--mismatch", "/3d/:2"});
//     ASSERT_TRUE(site.started()) << site.error();
//     Hosts hosts = Hosts::build();
//     hosts.movieSite = site.host();
//
// Create it on a thread that outlives it: the site is killed when the thread
// that started it ends, so it never outlives a crashed test.
namespace brisma::test {

// One request as the site received it.
struct LoggedRequest
{
    std::string method;
    std::string target; // path and query as sent
    std::string version;
    std::vector<std::string> headers; // "Name: value", in arrival order
};

class DemoSite
{
public:
    // arguments: further options of brisma-demo-site, such as
    // {"--version-text", "2"} or {"--close", "/ys/"}; --port and --log are set
    // here.
    explicit DemoSite(const std::vector<std::string>& arguments = {});
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    bool started() const { return m_port > 0; }
    // Why it did not start.
    const std::string& error() const { return m_error; }

    int port() const { return m_port; }
    // "127.0.0.1:PORT", the host every address in its pages names.
    Text host() const;
    // "http://127.0.0.1:PORT" followed by path.
    Text url(const std::string& path = {}) const;

    // Every request received so far, in arrival order. A request is logged
    // before it is answered.
    std::vector<LoggedRequest> requests() const;
    std::vector<std::string> requestedTargets() const;
    std::string logPath() const { return m_logPath; }

    // Stops the site and waits for it; gives its exit status, or -1 when it
    // had to be killed or was not running. The destructor calls it.
    int stop();

private:
    void start(const std::vector<std::string>& arguments);
    bool readPort(int output);

    pid_t m_pid = -1;
    int m_port = 0;
    int m_output = -1;
    std::string m_folder;
    std::string m_logPath;
    std::string m_error;
};

} // namespace brisma::test
