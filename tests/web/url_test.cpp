#include "web/url.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::web;

namespace {

struct UrlCase
{
    const char* url;
    Text host;
    int port;
    Text path;
};

TEST(UrlSplitting, HostPortAndPath)
{
    const UrlCase cases[] = {
        {"http://Example.COM/Dir/Page.htm?A=1", "example.com", 80, "/Dir/Page.htm?A=1"},
        {"https://example.org/x", "example.org", 443, "/x"},
        {"http://img.example.net:888/tupian/1.jpg", "img.example.net", 888, "/tupian/1.jpg"},
        {"movies.example.com/3d/index_2.htm", "movies.example.com", 80, "/3d/index_2.htm"},
        {"http://example.com", "example.com", 80, "/"},
        {"https://example.com:8443", "example.com", 8443, "/"},
        {"HTTPS://EXAMPLE.COM/", "example.com", 443, "/"},
        {"http://example.com:/x", "example.com", 0, "/x"},
        // "http://" later in an address without a scheme is taken as the start.
        {"example.com/go?u=http://example.net/c", "example.net", 80, "/c"},
        {"", "", 80, "/"},
        // The empty host is "found" at the very start, so the path begins at
        // the scheme's first "/".
        {"http:///x", "", 80, "///x"},
        {"http://q:+12x/", "q", 12, "/"},
        {"http://q:-5/", "q", -5, "/"},
        {"http://q:99999999999/", "q", 2147483647, "/"},
        {"http://q:1:2/", "q", 2, "/"},
        // Only ASCII letters fold; the two bytes of 中 stay as they are.
        {"http://\xD6\xD0"
         "Ab.cn/P",
         "\xD6\xD0"
         "ab.cn",
         80, "/P"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlHost(c.url), c.host);
        EXPECT_EQ(UrlPort(c.url), c.port);
        EXPECT_EQ(UrlPath(c.url), c.path);
    }
}

TEST(UrlSplitting, HostOptions)
{
    struct Case
    {
        const char* url;
        bool domainOnly;
        bool keepPort;
        Text host;
    } cases[] = {
        {"http://img.example.net:888/tupian/1.jpg", false, true, "img.example.net:888"},
        {"news.example.com/x", true, false, "example.com"},
        {"http://localhost/x", true, false, "localhost"},
        {"http://a.b.example.com:81/", true, true, "example.com:81"},
        {"http://a.b.example.com:81/", true, false, "example.com"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlHost(c.url, c.domainOnly, c.keepPort), c.host);
    }
}

} // namespace
