#include "details/detail_loader.h"

#include "details/default_poster.h"
#include "page_server.h"
#include "platform/com.h"
#include "support/fake_toolkit.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

using namespace brisma;
using namespace brisma::test;
using details::DetailView;
using details::loadDetailWindow;
using details::stripSynopsisMarkup;
namespace com = brisma::platform::com;

namespace {

const Text posterOpening = "</script></div><p><img alt=\"\" src=\"";
const Text imageParagraphEnd = ".jpg\" /></p>\r";
const Text nextImageParagraph = "<p><img alt=\"\" src=\"Q.jpg\" /></p>\r";
const Text posterBytes = "\xFF\xD8\xFF\xE0 poster";
const Text nothingFound = "没有找到下载资源地址";

// A movie page in the site's markup: the poster paragraph (when posterBase
// is given), the synopsis cut and the next image paragraph.
Text moviePage(const Text& posterBase, const Text& synopsisCut, const Text& rest = {})
{
    Text page = "<html><script>x</script></div>\r\n";
    if (!posterBase.empty()) {
        page += posterOpening + posterBase + imageParagraphEnd;
    }
    return page + synopsisCut + nextImageParagraph + rest;
}

class DetailLoader : public testing::Test
{
protected:
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    FakeReportList list{log, "list"};
    FakeWindow window{log, "window"};
    FakePictureBox poster{log, "poster"};
    FakeEditBox synopsisBox{log, "synopsis"};
    FakeEditBox linksBox{log, "links"};
    PageServer server;
    Hosts hosts{"movies.example", "img.example", "third.example", "update.example"};

    // Lists one movie whose page is served at /movie.htm, and selects it.
    void listMovie(const Text& page)
    {
        server.serve("/movie.htm", page);
        server.serve("/poster.jpg", posterBytes);
        const int row = list.insertRow();
        list.setCell(row, 0, "《片名》");
        list.setCell(row, 1, "2024-06-30");
        list.setCell(row, 2, server.address("/movie.htm"));
        list.select(row);
    }

    Text posterBase() const { return server.address("/poster"); }

    void load(const platform::ReportList& movieList)
    {
        loadDetailWindow(DetailView{movieList, window, poster, synopsisBox, linksBox}, hosts);
    }
    void load() { load(list); }

    bool synopsisWritten() const { return !log->eventsStartingWith("synopsis.").empty(); }
};

TEST_F(DetailLoader, WorkedExample)
{
    listMovie(moviePage(posterBase(), "\n<p>S<br />\r\nT</p>\r\n<p>影片截图</p>\r\n"));
    load();

    EXPECT_EQ(window.caption(), "《片名》");
    EXPECT_EQ(poster.picture(), bytesFromText(posterBytes));
    EXPECT_EQ(synopsisBox.text(), "\nS\r\n\nT\r\n");
    EXPECT_EQ(linksBox.text(), nothingFound);
    // Page, poster, the links' page, and the fallback's page.
    EXPECT_EQ(server.requests(),
              (std::vector<std::string>{"/movie.htm", "/poster.jpg", "/movie.htm", "/movie.htm"}));
}

struct SynopsisCase
{
    const char* name;
    Text cut;
    Text shown;
};

TEST_F(DetailLoader, SynopsisOutcomes)
{
    const SynopsisCase cases[] = {
        {"only the screenshot heading", "<p>影片截图</p>", "暂无信息"},
        {"a line break alone", "\r\n", "暂无信息"},
        {"emptied only by the blank-line removal", "\n\r", ""},
        {"entities are deleted, not turned into characters", "A&hellip;B&nbsp;C&middot;D", "ABCD"},
        {"an LF behind a line break tag stays", "X<br />\r\nY", "X\r\n\nY"},
        {"blank lines collapse", "\r\nA<br />\r<br />\r<br />\rB\r\n", "A\r\nB"},
        {"GBK text passes through", "<p>一部关于下载地址的电影</p>", "一部关于的电影"},
    };
    for (const SynopsisCase& c : cases) {
        SCOPED_TRACE(c.name);
        listMovie(moviePage(posterBase(), c.cut));
        load();
        EXPECT_EQ(synopsisBox.text(), c.shown);
    }
}

TEST_F(DetailLoader, MissingSynopsisMarkersShowNoInformation)
{
    listMovie("<p>" + posterOpening + posterBase() + ".jpg\" /></p>\r no image paragraph follows");
    load();
    EXPECT_EQ(poster.picture(), bytesFromText(posterBytes));
    EXPECT_EQ(synopsisBox.text(), "暂无信息");
}

TEST_F(DetailLoader, WithoutPosterMarkerShowsDefaultPosterAndNoSynopsis)
{
    listMovie(moviePage({}, "a synopsis", "【下载地址】<a href=\"ftp://x/1.mkv\">1</a>下载帮助"));
    load();

    EXPECT_EQ(poster.picture(), details::DefaultPoster());
    EXPECT_FALSE(synopsisWritten());
    EXPECT_EQ(linksBox.text(), "下载地址1： ftp://x/1.mkv\r\n");
    // The poster request goes out even with an empty address; it reaches no
    // server.
    EXPECT_EQ(server.requests(), (std::vector<std::string>{"/movie.htm", "/movie.htm"}));
}

TEST_F(DetailLoader, APosterThatDoesNotArriveShowsDefaultPoster)
{
    listMovie(moviePage(server.address("/missing"), "a synopsis"));
    load();
    EXPECT_EQ(poster.picture(), details::DefaultPoster());
    EXPECT_FALSE(synopsisWritten());
    EXPECT_EQ(server.requests().at(1), "/missing.jpg");
}

TEST_F(DetailLoader, ThePosterMarkerIgnoresCaseOfAsciiLetters)
{
    listMovie("</SCRIPT></DIV><P><IMG ALT=\"\" SRC=\"" + posterBase() + imageParagraphEnd + "S" +
              nextImageParagraph);
    load();
    EXPECT_EQ(poster.picture(), bytesFromText(posterBytes));
    EXPECT_EQ(synopsisBox.text(), "S");
}

TEST_F(DetailLoader, AnUnavailableRegexEngineLeavesTheSynopsisBoxEmpty)
{
    listMovie(moviePage(posterBase(), "a synopsis"));
    com::ScopedCreationFailure failure("VBScript.RegExp");
    load();
    EXPECT_EQ(synopsisBox.text(), "");
}

TEST_F(DetailLoader, NoSelectedRowLoadsAsAPageThatCannotBeFetched)
{
    listMovie(moviePage(posterBase(), "a synopsis"));
    list.select(-1);
    load();

    EXPECT_EQ(window.caption(), "");
    EXPECT_EQ(poster.picture(), details::DefaultPoster());
    EXPECT_FALSE(synopsisWritten());
    EXPECT_EQ(linksBox.text(), nothingFound);
    EXPECT_TRUE(server.requests().empty());
}

// The movie list while a category load empties it: the selected row reads
// as given by the script, then -1 once the script runs out.
class EmptyingList : public platform::ReportList
{
public:
    EmptyingList(const FakeReportList& rows, std::deque<int> selections)
        : m_rows(rows), m_selections(std::move(selections))
    {}

    void deleteAllRows() override {}
    int insertRow() override { return -1; }
    void setCell(int, int, const Text&) override {}
    Text cell(int row, int column) const override { return m_rows.cell(row, column); }
    int selectedRow() const override
    {
        if (m_selections.empty()) {
            return -1;
        }
        const int row = m_selections.front();
        m_selections.pop_front();
        return row;
    }
    int rowCount() const override { return m_rows.rowCount(); }
    void setTextColour(Rgb) override {}
    void setTextBackgroundColour(Rgb) override {}
    void setBackgroundColour(Rgb) override {}

private:
    const FakeReportList& m_rows;
    mutable std::deque<int> m_selections;
};

TEST_F(DetailLoader, AListEmptiedAfterTheCaptionLoadsAsAPageThatCannotBeFetched)
{
    listMovie(moviePage(posterBase(), "a synopsis"));
    const EmptyingList emptying(list, {0});
    load(emptying);

    EXPECT_EQ(window.caption(), "《片名》");
    EXPECT_EQ(poster.picture(), details::DefaultPoster());
    EXPECT_FALSE(synopsisWritten());
    EXPECT_EQ(linksBox.text(), nothingFound);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(DetailLoader, ReadsTheSelectionAgainForEveryCell)
{
    listMovie(moviePage(posterBase(), "S", "【下载地址】<a href=\"A\">1</a>下载帮助"));
    // Title and page come from row 0; the links' page read finds no row.
    const EmptyingList emptying(list, {0, 0});
    load(emptying);

    EXPECT_EQ(synopsisBox.text(), "S");
    EXPECT_EQ(linksBox.text(), nothingFound);
    EXPECT_EQ(server.requests(), (std::vector<std::string>{"/movie.htm", "/poster.jpg"}));
}

struct MarkupCase
{
    const char* name;
    Text synopsis;
    Text stripped;
};

TEST(StripSynopsisMarkup, DeletesTheSitesMarkupExactly)
{
    const Hosts hosts{"movies.example:81", "img.example", "third.example", "update.example"};
    const MarkupCase cases[] = {
        {"line break tag", "a<br />\rb", "a\r\nb"},
        {"link to the third site with its text",
         "<a target=\"_blank\" href=\"http://third.example/\">http://third.example/</a>x", "x"},
        {"a link to another site keeps its tag",
         "<a target=\"_blank\" href=\"http://other.example/\">t</a>",
         "<a target=\"_blank\" "
         "href=\"http://other.example/"
         "\">t"},
        {"paragraphs, screenshot heading, entities, anchors ends, download words",
         "<p>影片截图</p>&hellip;&nbsp;</a>下载地址&middot;", ""},
        {"the movie site's download link",
         "<A href=\"http://movies.example:81\" target=_blank>电影下载</A>", ""},
        {"the image server's address prefix",
         "<p><img alt=\"\" src=\"http://img.example:888/tupian/x.jpg\" /></p>", "x.jpg\" />"},
        {"tags in capitals stay", "<BR />\r<P>x</P></A>", "<BR />\r<P>x</P></A>"},
        {"download words inside a sentence go", "点击下载地址获取", "点击获取"},
    };
    for (const MarkupCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stripSynopsisMarkup(c.synopsis, hosts), c.stripped);
    }
}

} // namespace
