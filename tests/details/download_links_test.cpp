#include "details/download_links.h"

#include "page_server.h"
#include "support/fake_toolkit.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace brisma;
using namespace brisma::test;
using details::ExtractDownloadLinks;

namespace {

const Text nothingFound = "没有找到下载资源地址";
const Text quickShareNote = "该资源为迅雷快传,请手动负责地址在浏览器打开即可下载\r\n";

Text block(const Text& anchors)
{
    return "<p>【下载地址】</p>\r\n" + anchors + "\r\n<p>下载帮助</p>";
}

struct LinksCase
{
    const char* name;
    Text moviePage;
    Text expected;
    // Served besides the movie page: path and body. Bodies may name
    // "{root}", which becomes the server's address.
    std::map<std::string, Text> otherPages = {};
};

Text withRoot(Text text, const Text& root)
{
    for (std::size_t at = text.find("{root}"); at != Text::npos; at = text.find("{root}")) {
        text.replace(at, 6, root);
    }
    return text;
}

TEST(ExtractDownloadLinks, HandMadePages)
{
    const Text downloadPageAnchor =
        "<td><a target=\"_blank\" href=\"{root}/down.htm\">点击进入下载地址</a></td>";
    const LinksCase cases[] = {
        {"block anchors are numbered, trimmed, and run to the next quote and bracket",
         block("<a href=\" A \">1</a><br /><a href=\"B\">2</a><a href=\"C\" title=\"t\">3</a>"),
         "下载地址1： A\r\n下载地址2： B\r\n下载地址3： C\" title=\"t\r\n"},
        {"line breaks inside an address stay", block("<a href=\"\r\nA\">1</a>"),
         "下载地址1： \r\nA\r\n"},
        {"an empty address ends the list",
         block("<a href=\"A\">1</a><a href=\"  \">2</a>"
               "<a href=\"C\">3</a>"),
         "下载地址1： A\r\n"},
        {"an empty first address sends it to the fallback",
         block("<a href=\"\">1</a><a href=\"B\">2</a>"), nothingFound},
        {"a block without its end goes to the fallback",
         "【下载地址】<a href=\"A\">1</a> thunder://T\">", "下载地址： thunder://T"},
        {"an announced download page is followed, the movie page is not looked at again",
         downloadPageAnchor + "\r thunder://ON-MOVIE-PAGE\">",
         "下载地址： thunder://D1",
         {{"/down.htm", "<a href=\"thunder://D1\">1</a><a href=\"thunder://D2\">2</a>"}}},
        {"an announcement without the CR is not followed",
         downloadPageAnchor + " thunder://ON-MOVIE-PAGE\">",
         "下载地址： thunder://ON-MOVIE-PAGE",
         {{"/down.htm", "<a href=\"thunder://D1\">1</a>"}}},
        {"a download page that cannot be fetched finds nothing",
         downloadPageAnchor + "\r thunder://ON-MOVIE-PAGE\">", nothingFound},
        {"the cut starts at a capital scheme standing first", "THUNDER://UP\"> thunder://low\">",
         "下载地址： thunder://UP"},
        {"a capital scheme alone is not an address", "THUNDER://UP\">", nothingFound},
        {"an address without its end gives the bare scheme", "thunder://T",
         "下载地址： thunder://"},
        {"thunder wins over 迅雷快传",
         "<td><a target=\"_blank\" href=\"K\">迅雷快传</a></td>\r thunder://T\">",
         "下载地址： thunder://T"},
        {"迅雷快传", "<td><a target=\"_blank\" href=\"http://k/1.html\">迅雷快传</a></td>\r",
         quickShareNote + "http://k/1.html"},
        {"迅雷快传 that cannot be delimited", "迅雷快传", quickShareNote},
        {"nothing", "<p>no links</p>", nothingFound},
    };
    for (const LinksCase& c : cases) {
        SCOPED_TRACE(c.name);
        PageServer server;
        const Text root = server.address("");
        server.serve("/movie.htm", withRoot(c.moviePage, root));
        for (const auto& [path, body] : c.otherPages) {
            server.serve(path, withRoot(body, root));
        }
        auto log = std::make_shared<EventLog>();
        FakeReportList list(log, "list");
        FakeEditBox linksBox(log, "links");
        list.setCell(list.insertRow(), 2, server.address("/movie.htm"));
        list.select(0);

        ExtractDownloadLinks(list, linksBox);
        EXPECT_EQ(linksBox.text(), c.expected);
    }
}

} // namespace
