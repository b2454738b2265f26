// brisma-demo-site as a program: started through the tests' launcher, spoken
// to over loopback with raw HTTP.

#include "demo-site/movies.h"
#include "demo-site/site.h"
#include "platform/codepage.h"
#include "platform/hosts.h"
#include "raw_http.h"
#include "support/demo_site.h"
#include "text/extract.h"
#include "text/primitives.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace brisma::test {
namespace {

Text spaces(int count)
{
    return Text(static_cast<std::size_t>(count), ' ');
}

const Text kDateLeft = spaces(26) + "<tbody>\r\n" + spaces(28) + "<tr>\r\n" + spaces(30) + "<td>";
const Text kDateRight = "</td>\r\n" + spaces(28) + "</tr>\r\n" + spaces(26) + "</tbody>\r\n" +
                        spaces(24) + "</table></td>";
const Text kAddressLeft =
    spaces(23) + "<tbody>\r\n" + spaces(26) + "<tr>\r\n" + spaces(28) + "<td><a href=\"";
const Text kAddressRight = "\" target=\"_blank\"><img src=\"";
const Text kTitleLeft = ".jpg\" alt=\"";
const Text kTitleRight = "\" width=\"120\" height=\"150\" border=\"0\" ";

struct Counts
{
    std::size_t titles;
    std::size_t dates;
    std::size_t addresses;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& counts)
{
    return out << counts.titles << "/" << counts.dates << "/" << counts.addresses;
}

Counts countsOf(const std::string& body)
{
    const int declared = FindText(body, "utf-8");
    const Text page = declared >= 1 && declared < 500 ? platform::utf8ToGbk(body) : body;
    TextArray titles;
    TextArray dates;
    TextArray addresses;
    ExtractBetweenAll(page, kTitleLeft, kTitleRight, titles);
    ExtractBetweenAll(page, kDateLeft, kDateRight, dates);
    ExtractBetweenAll(page, kAddressLeft, kAddressRight, addresses);
    return {titles.size(), dates.size(), addresses.size()};
}

// Runs brisma-demo-site to its end with the given arguments; stdout lands in
// output when given.
int runToExit(const std::vector<std::string>& arguments, std::string* output = nullptr)
{
    std::vector<std::string> words{BRISMA_DEMO_SITE_EXECUTABLE};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    char outputPath[] = "/tmp/brisma-demo-site-output-XXXXXX";
    const int outputFile = ::mkstemp(outputPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFile, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int status = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(outputFile);
    if (output != nullptr) {
        std::ifstream file(outputPath, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        *output = text.str();
    }
    ::unlink(outputPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#define START_SITE(site, ...)                                                                      \
    DemoSite site{__VA_ARGS__};                                                                    \
    ASSERT_TRUE(site.started()) << site.error()

TEST(DemoSiteProgram, ServesPagesNamingTheHostItActuallyListensOn)
{
    START_SITE(site);
    // Asking for gzip must not change a byte: the program compares pages as sent.
    const RawResponse response = get(site.port(), "/ys/", "Accept-Encoding: gzip, deflate\r\n");
    ASSERT_EQ(response.status, 200);
    EXPECT_NE(response.head.find("Content-Type: text/html; charset=gb2312"), std::string::npos);

    demo::SiteSettings settings;
    const Hosts build = Hosts::build();
    settings.hosts = demo::SiteHosts{site.host(), build.thirdSite, build.imageServer};
    EXPECT_EQ(response.body, demo::Site(settings).serve("/ys/").body);
    EXPECT_GT(FindText(response.body, "<a href=\"http://" + site.host() + "/ys/"), 0);
}

TEST(DemoSiteProgram, ServesPosterPicturesAsTheyAre)
{
    START_SITE(site);
    const demo::Movie& movie = demo::firstListedMovie(demo::Variant::LinkBlock);
    const Text address = demo::posterAddress(movie, site.host());
    const RawResponse response = get(site.port(), address.substr(site.url().size()));
    ASSERT_EQ(response.status, 200);
    EXPECT_NE(response.head.find("Content-Type: image/jpeg"), std::string::npos);
    EXPECT_EQ(response.body.substr(0, 3), "\xFF\xD8\xFF");
}

TEST(DemoSiteProgram, LogsEachRequestLineAndItsHeadersInArrivalOrder)
{
    START_SITE(site);
    const std::string host = "Host: " + site.host();
    get(site.port(), "/bd/index_2.htm?from=test",
        "Zebra: 1\r\naccept: */*\r\nAlpha:  two  words \r\nAccept-Encoding: gzip\r\n");
    get(site.port(), "/vorpel.txt");

    const std::vector<LoggedRequest> requests = site.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/bd/index_2.htm?from=test");
    EXPECT_EQ(requests[0].version, "HTTP/1.1");
    EXPECT_EQ(requests[0].headers,
              (std::vector<std::string>{host, "Connection: close", "Zebra: 1", "accept: */*",
                                        "Alpha:  two  words ", "Accept-Encoding: gzip"}));
    EXPECT_EQ(requests[1].target, "/vorpel.txt");
    EXPECT_EQ(requests[1].headers, (std::vector<std::string>{host, "Connection: close"}));
}

TEST(DemoSiteProgram, AnswersSeveralRequestsOnOneConnection)
{
    START_SITE(site);
    const std::string host = "Host: " + site.host() + "\r\n";
    const RawResponse response =
        exchange(site.port(), "GET /vorpel.txt HTTP/1.1\r\n" + host + "\r\n" +
                                  "GET /3d/ HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n");
    const auto second = response.bytes.find("HTTP/1.1 200", 1);
    EXPECT_EQ(response.status, 200);
    EXPECT_NE(second, std::string::npos);
    EXPECT_EQ(countsOf(response.bytes.substr(second)), (Counts{12, 12, 12}));
    EXPECT_EQ(site.requestedTargets(), (std::vector<std::string>{"/vorpel.txt", "/3d/"}));
}

TEST(DemoSiteProgram, VersionTextIsSentByteForByte)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "1"},
        {{"--version-text", "2"}, "2"},
        {{"--version-text", "1\\r\\n"}, "1\r\n"},
        {{"--version-text=1\\0tail\\\\"}, std::string("1\0tail\\", 7)},
    };
    for (const auto& [arguments, expected] : cases) {
        START_SITE(site, arguments);
        const RawResponse response = get(site.port(), "/vorpel.txt");
        EXPECT_EQ(response.status, 200);
        EXPECT_EQ(response.body, expected);
    }
}

TEST(DemoSiteProgram, DelaysEveryAnswer)
{
    START_SITE(site, {"--delay-ms", "400"});
    const auto started = std::chrono::steady_clock::now();
    const RawResponse response = get(site.port(), "/vorpel.txt");
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(response.body, "1");
    EXPECT_GE(elapsed, std::chrono::milliseconds(400));
}

TEST(DemoSiteProgram, IndexPageFaultsShowOnlyOnTheirPages)
{
    START_SITE(site,
               {"--mismatch", "/3d/:2", "--misindent=/ys/:4", "--surplus-address", "/720P/:6"});
    const std::vector<std::pair<std::string, Counts>> cases{
        {"/3d/index_2.htm", {12, 11, 12}},    {"/3d/", {12, 12, 12}},
        {"/ys/index_4.htm", {12, 0, 12}},     {"/ys/index_5.htm", {12, 12, 12}},
        {"/720P/index_6.htm", {12, 12, 13}}, // a UTF-8 page
        {"/1080p/index_6.htm", {12, 12, 12}},
    };
    for (const auto& [path, counts] : cases) {
        EXPECT_EQ(countsOf(get(site.port(), path).body), counts) << path;
    }
}

TEST(DemoSiteProgram, ClosesOrFailsTheNamedPathsOnly)
{
    START_SITE(site, {"--close", "/ys/index_3.htm", "--fail500", "/vorpel.txt"});
    const RawResponse closed = get(site.port(), "/ys/index_3.htm");
    EXPECT_TRUE(closed.connected);
    EXPECT_EQ(closed.bytes, "");

    const RawResponse failed = get(site.port(), "/vorpel.txt");
    EXPECT_EQ(failed.status, 500);
    EXPECT_GT(FindText(failed.body, "500 Internal Server Error"), 0);

    EXPECT_EQ(get(site.port(), "/ys/index_4.htm").status, 200);
    // The closed request was still logged.
    EXPECT_EQ(site.requestedTargets(),
              (std::vector<std::string>{"/ys/index_3.htm", "/vorpel.txt", "/ys/index_4.htm"}));
}

TEST(DemoSiteProgram, UnreachableDownloadPagesCloseOrAreMissing)
{
    START_SITE(site);
    const auto pathOf = [&](demo::Variant variant) {
        return demo::downloadPageAddress(demo::firstListedMovie(variant), site.host())
            .substr(site.url().size());
    };
    const RawResponse closed = get(site.port(), pathOf(demo::Variant::DownloadPageClosed));
    EXPECT_TRUE(closed.connected);
    EXPECT_EQ(closed.bytes, "");
    EXPECT_EQ(get(site.port(), pathOf(demo::Variant::DownloadPageMissing)).status, 404);
    EXPECT_EQ(get(site.port(), pathOf(demo::Variant::DownloadPage)).status, 200);
}

TEST(DemoSiteProgram, RefusesBadOptions)
{
    const std::vector<std::vector<std::string>> cases{
        {"--bogus"},
        {"--port"},
        {"--port", "x"},
        {"--port", "70000"},
        {"--delay-ms", "-1"},
        {"--mismatch", "/3d/"},
        {"--mismatch", "/4d/:2"},
        {"--misindent", "/3d/:11"},
        {"--surplus-address", "/3d/:0"},
        {"--close", "ys/"},
        {"--version-text", "1\\x"},
        {"--version-text", "1\\"},
    };
    for (const auto& arguments : cases) {
        EXPECT_EQ(runToExit(arguments), 2) << arguments.front();
    }
}

TEST(DemoSiteProgram, HelpNamesEveryOption)
{
    std::string help;
    EXPECT_EQ(runToExit({"--help"}, &help), 0);
    for (const char* option :
         {"--port", "--log", "--version-text", "--delay-ms", "--mismatch", "--misindent",
          "--surplus-address", "--close", "--fail500", "--third-site", "--image-server"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST(DemoSiteProgram, WillNotShareAPortWithAnotherSite)
{
    START_SITE(first);
    EXPECT_EQ(runToExit({"--port", std::to_string(first.port())}), 1);
    EXPECT_EQ(get(first.port(), "/vorpel.txt").body, "1");
}

TEST(DemoSiteProgram, OverridesTheHostsNamedInSynopses)
{
    START_SITE(site, {"--third-site", "third.local", "--image-server", "pictures.local"});
    const demo::Movie& movie = demo::firstListedMovie(demo::Variant::LinkBlock);
    const std::string page = get(site.port(), movie.path).body;
    EXPECT_GT(FindText(page, "href=\"http://third.local/\">http://third.local/"), 0);
    EXPECT_GT(FindText(page, "<img alt=\"\" src=\"http://pictures.local:888/tupian/"), 0);
}

TEST(DemoSiteProgram, StopsCleanlyOnRequest)
{
    START_SITE(site);
    const RawResponse response = get(site.port(), "/vorpel.txt");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(site.stop(), 0);
}

} // namespace
} // namespace brisma::test
