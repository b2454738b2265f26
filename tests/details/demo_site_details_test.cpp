// The detail window's loading against the local demo site, one movie of
// each kind of page the site has.
#include "details/detail_loader.h"
#include "details/download_links.h"

#include "demo-site/movies.h"
#include "details/default_poster.h"
#include "support/demo_site.h"
#include "support/fake_toolkit.h"

#include <gtest/gtest.h>

#include <memory>

using namespace brisma;
using namespace brisma::test;
using demo::Variant;

namespace {

const Text nothingFound = "没有找到下载资源地址";
const Text quickShareNote = "该资源为迅雷快传,请手动负责地址在浏览器打开即可下载\r\n";

class DemoSiteDetails : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(site.started()) << site.error(); }

    // Lists the first listed movie of that kind and selects it.
    const demo::Movie& selectMovie(Variant variant)
    {
        const demo::Movie& movie = demo::firstListedMovie(variant);
        const int row = list.insertRow();
        list.setCell(row, 0, movie.title);
        list.setCell(row, 1, movie.date);
        list.setCell(row, 2, demo::movieAddress(movie, site.host()));
        list.select(row);
        return movie;
    }

    Text linksFor(Variant variant)
    {
        selectMovie(variant);
        details::ExtractDownloadLinks(list, linksBox);
        return linksBox.text();
    }

    void loadWindow()
    {
        Hosts hosts = Hosts::build();
        hosts.movieSite = site.host();
        details::loadDetailWindow({list, window, poster, synopsisBox, linksBox}, hosts);
    }

    DemoSite site;
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    FakeReportList list{log, "list"};
    FakeWindow window{log, "window"};
    FakePictureBox poster{log, "poster"};
    FakeEditBox synopsisBox{log, "synopsis"};
    FakeEditBox linksBox{log, "links"};
};

TEST_F(DemoSiteDetails, ABlockOfThreeAnchorsGivesThreeNumberedLines)
{
    const TextArray links =
        demo::blockLinks(demo::firstListedMovie(Variant::LinkBlock), site.host());
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(linksFor(Variant::LinkBlock), "下载地址1： " + links[0] + "\r\n" + "下载地址2： " +
                                                links[1] + "\r\n" + "下载地址3： " + links[2] +
                                                "\r\n");
}

TEST_F(DemoSiteDetails, TheFallbackFollowsTheDownloadPageToItsFirstThunderAddress)
{
    const TextArray links =
        demo::downloadPageLinks(demo::firstListedMovie(Variant::DownloadPage), site.host());
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(linksFor(Variant::DownloadPage), "下载地址： " + links[0]);
}

TEST_F(DemoSiteDetails, QuickShareGivesTheNoteAndTheAddress)
{
    const demo::Movie& movie = demo::firstListedMovie(Variant::Kuaichuan);
    EXPECT_EQ(linksFor(Variant::Kuaichuan),
              quickShareNote + demo::kuaichuanAddress(movie, site.host()));
}

TEST_F(DemoSiteDetails, NoAddressAtAll)
{
    EXPECT_EQ(linksFor(Variant::NoAddress), nothingFound);
}

TEST_F(DemoSiteDetails, AnAnnouncedDownloadPageThatCannotBeFetchedFindsNothing)
{
    for (Variant variant : {Variant::DownloadPageMissing, Variant::DownloadPageClosed}) {
        SCOPED_TRACE(std::string(demo::variantName(variant)));
        // The movie page holds an address of its own, which is not looked at.
        ASSERT_FALSE(demo::pageThunderLink(demo::firstListedMovie(variant), site.host()).empty());
        linksBox.setText({});
        EXPECT_EQ(linksFor(variant), nothingFound);
    }
}

TEST_F(DemoSiteDetails, ThunderWinsOverQuickShare)
{
    const demo::Movie& movie = demo::firstListedMovie(Variant::ThunderAndKuaichuan);
    EXPECT_EQ(linksFor(Variant::ThunderAndKuaichuan),
              "下载地址： " + demo::pageThunderLink(movie, site.host()));
}

TEST_F(DemoSiteDetails, RequestsPagePosterPageForABlock)
{
    const demo::Movie& movie = selectMovie(Variant::LinkBlock);
    loadWindow();

    const std::string page = movie.path;
    EXPECT_EQ(site.requestedTargets(),
              (std::vector<std::string>{
                  page, "/tupian/poster-" + std::to_string(movie.poster) + ".jpg", page}));
    EXPECT_EQ(window.caption(), movie.title);
    EXPECT_NE(poster.picture(), details::DefaultPoster());
    EXPECT_FALSE(poster.picture().empty());
    EXPECT_NE(synopsisBox.text(), "暂无信息");
    // The site's synopsis carries every kind of markup of the replacement
    // chain, with the build's host names; none of it may be left.
    const Text synopsis = synopsisBox.text();
    for (const Text markup : {"<br />", "<p>", "</p>", "<a target", "</a>", "<A href", "&nbsp;",
                              "&hellip;", "&middot;", "影片截图", ":888/tupian/"}) {
        EXPECT_EQ(synopsis.find(markup), Text::npos) << markup;
    }
    EXPECT_NE(synopsis.find("简"), Text::npos);
}

TEST_F(DemoSiteDetails, RequestsThePageAgainAndTheDownloadPageForTheFallback)
{
    const demo::Movie& movie = selectMovie(Variant::DownloadPage);
    loadWindow();

    const std::string page = movie.path;
    const std::string downloadPage = "/down/" + std::to_string(movie.id) + ".htm";
    EXPECT_EQ(
        site.requestedTargets(),
        (std::vector<std::string>{page, "/tupian/poster-" + std::to_string(movie.poster) + ".jpg",
                                  page, page, downloadPage}));
}

TEST_F(DemoSiteDetails, AMovieWithoutPosterShowsTheDefaultPosterAndItsLinks)
{
    selectMovie(Variant::NoPoster);
    loadWindow();
    EXPECT_EQ(poster.picture(), details::DefaultPoster());
    EXPECT_TRUE(log->eventsStartingWith("synopsis.").empty());
    EXPECT_NE(linksBox.text(), "");
    EXPECT_NE(linksBox.text(), nothingFound);
}

TEST_F(DemoSiteDetails, AScreenshotHeadingAloneShowsNoInformation)
{
    selectMovie(Variant::ScreenshotSynopsis);
    loadWindow();
    EXPECT_EQ(synopsisBox.text(), "暂无信息");
}

} // namespace
