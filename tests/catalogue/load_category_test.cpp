#include "catalogue/load_category.h"

#include "demo-site/movies.h"
#include "platform/codepage.h"
#include "support/demo_site.h"
#include "support/fake_toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace brisma;
using namespace brisma::catalogue;

namespace {

const Text successMessage = "双击电影可以查看详情";
const Text failureMessage = "获取最新电影失败";

const Category& threeD()
{
    return categories()[4];
}

std::vector<std::string> indexTargets(std::string_view path, int firstPage, int lastPage)
{
    std::vector<std::string> targets;
    for (int page = firstPage; page <= lastPage; ++page) {
        targets.push_back(demo::indexPagePath(path, page));
    }
    return targets;
}

// The rows the list should hold for these pages of a category, in order.
std::vector<std::vector<Text>> expectedRows(std::string_view path, const std::vector<int>& pages,
                                            const Text& host)
{
    std::vector<std::vector<Text>> rows;
    for (int page : pages) {
        for (const demo::Movie* movie : demo::moviesOnPage(path, page)) {
            if (movie->isListed()) {
                rows.push_back({movie->title, movie->date, demo::movieAddress(*movie, host)});
            }
        }
    }
    return rows;
}

std::vector<int> pagesExcept(int left)
{
    std::vector<int> pages;
    for (int page = 1; page <= 10; ++page) {
        if (page != left) {
            pages.push_back(page);
        }
    }
    return pages;
}

// A port on 127.0.0.1 on which nothing listens.
int closedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The main window's list and loading indicator, as the loader sees them,
// with the indicator showing as a category click leaves it.
class LoadCategoryTest : public ::testing::Test
{
protected:
    std::shared_ptr<test::EventLog> log = std::make_shared<test::EventLog>();
    test::FakeReportList list{log, "list"};
    test::FakeLabel spinner{log, "spinner", true};
    test::FakeLabel status{log, "status", true};
    test::FakeToolkit toolkit{log};
    CategoryView view{list, spinner, status, toolkit};
    std::shared_ptr<LoadSequence> sequence = LoadSequence::create();

    void load(const Category& category, const Text& siteRoot)
    {
        LoadCategory(category, view, siteRoot, sequence->begin());
    }

    std::vector<Text> messageTexts() const
    {
        std::vector<Text> texts;
        for (const auto& message : toolkit.messages()) {
            EXPECT_EQ(message.flags, platform::MessageOk);
            texts.push_back(message.text);
        }
        return texts;
    }
};

TEST_F(LoadCategoryTest, FullRunListsTenMoviesOfEveryPage)
{
    test::DemoSite site;
    ASSERT_TRUE(site.started()) << site.error();

    load(threeD(), site.url());

    EXPECT_EQ(list.rows(), expectedRows("/3d/", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, site.host()));
    EXPECT_EQ(messageTexts(), std::vector<Text>{successMessage});
    EXPECT_FALSE(spinner.visible());
    EXPECT_FALSE(status.visible());
    EXPECT_EQ(site.requestedTargets(), indexTargets("/3d/", 1, 10));
    // The list is emptied before the first request, the indicator hidden
    // before the message.
    const auto events = log->events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "list.deleteAllRows");
    EXPECT_EQ(events.back(), "messageBox 0 " + platform::gbkToUtf8(successMessage));
    EXPECT_EQ(events[events.size() - 3], "spinner.visible 0");
    EXPECT_EQ(events[events.size() - 2], "status.visible 0");
}

TEST_F(LoadCategoryTest, EveryCategoryLoads)
{
    test::DemoSite site;
    ASSERT_TRUE(site.started()) << site.error();
    // Some pages of the catalogue write tbody in capitals; their movies must
    // be listed all the same.
    bool sawCapitalTbody = false;
    for (const Category& category : categories()) {
        SCOPED_TRACE(category.indexPath);
        for (int page = 1; page <= 10; ++page) {
            sawCapitalTbody |= demo::indexPageHasCapitalTbody(category.indexPath, page);
        }
        load(category, site.url());
        EXPECT_EQ(list.rows(),
                  expectedRows(category.indexPath, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, site.host()));
    }
    EXPECT_TRUE(sawCapitalTbody);
    EXPECT_EQ(messageTexts(), std::vector<Text>(5, successMessage));
}

TEST_F(LoadCategoryTest, SurplusAddressShiftsNothing)
{
    test::DemoSite site({"--surplus-address", "/3d/:1"});
    ASSERT_TRUE(site.started()) << site.error();

    load(threeD(), site.url());

    EXPECT_EQ(list.rows(), expectedRows("/3d/", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, site.host()));
}

TEST_F(LoadCategoryTest, MismatchOnPageTwoEndsTheRun)
{
    test::DemoSite site({"--mismatch", "/3d/:2"});
    ASSERT_TRUE(site.started()) << site.error();

    load(threeD(), site.url());

    EXPECT_EQ(list.rows(), expectedRows("/3d/", {1}, site.host()));
    EXPECT_EQ(messageTexts(), std::vector<Text>{failureMessage});
    EXPECT_TRUE(spinner.visible());
    EXPECT_TRUE(status.visible());
    EXPECT_EQ(site.requestedTargets(), indexTargets("/3d/", 1, 2));
}

TEST_F(LoadCategoryTest, MismatchOnPageFiveDropsOnlyThatPage)
{
    test::DemoSite site({"--mismatch", "/3d/:5"});
    ASSERT_TRUE(site.started()) << site.error();

    load(threeD(), site.url());

    EXPECT_EQ(list.rows(), expectedRows("/3d/", pagesExcept(5), site.host()));
    EXPECT_EQ(messageTexts(), std::vector<Text>{successMessage});
    EXPECT_FALSE(spinner.visible());
    EXPECT_EQ(site.requestedTargets(), indexTargets("/3d/", 1, 10));
}

TEST_F(LoadCategoryTest, DateCellsIndentedOneSpaceShortYieldNoDates)
{
    test::DemoSite site({"--misindent", "/3d/:6"});
    ASSERT_TRUE(site.started()) << site.error();

    load(threeD(), site.url());

    // Twelve titles against no dates: the page counts as mismatched.
    EXPECT_EQ(list.rows(), expectedRows("/3d/", pagesExcept(6), site.host()));
    EXPECT_EQ(messageTexts(), std::vector<Text>{successMessage});
}

TEST_F(LoadCategoryTest, UnreadableFirstPagesFailTheRun)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> siteOptions;
        int failingPage;
    } cases[] = {
        {"misindented page 1", {"--misindent", "/3d/:1"}, 1},
        {"page 1 answered by a closed connection", {"--close", "/3d/"}, 1},
        {"page 3 answered with an error page", {"--fail500", "/3d/index_3.htm"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::DemoSite site(c.siteOptions);
        ASSERT_TRUE(site.started()) << site.error();
        auto log = std::make_shared<test::EventLog>();
        test::FakeReportList list{log, "list"};
        test::FakeLabel spinner{log, "spinner", true};
        test::FakeLabel status{log, "status", true};
        test::FakeToolkit toolkit{log};

        LoadCategory(threeD(), {list, spinner, status, toolkit}, site.url(), sequence->begin());

        std::vector<int> goodPages;
        for (int page = 1; page < c.failingPage; ++page) {
            goodPages.push_back(page);
        }
        EXPECT_EQ(list.rows(), expectedRows("/3d/", goodPages, site.host()));
        ASSERT_EQ(toolkit.messages().size(), 1u);
        EXPECT_EQ(toolkit.messages()[0].text, failureMessage);
        EXPECT_TRUE(spinner.visible());
        EXPECT_EQ(site.requestedTargets(), indexTargets("/3d/", 1, c.failingPage));
    }
}

TEST_F(LoadCategoryTest, UnreachableSiteEmptiesTheListAndFails)
{
    list.insertRow();
    list.setCell(0, 0, "left from before");

    load(threeD(), "http://127.0.0.1:" + std::to_string(closedPort()));

    EXPECT_TRUE(list.rows().empty());
    EXPECT_EQ(messageTexts(), std::vector<Text>{failureMessage});
    EXPECT_TRUE(spinner.visible());
    EXPECT_TRUE(status.visible());
}

TEST_F(LoadCategoryTest, NewerRunSupersedesTheOlderOne)
{
    test::DemoSite site;
    ASSERT_TRUE(site.started()) << site.error();
    const Category& older = categories()[0];
    const Category& newer = threeD();

    // The second click lands while the first load is appending its rows.
    std::thread newerLoad;
    std::atomic<bool> clicked{false};
    list.beforeInsert = [&] {
        if (list.rowCount() == 15 && !clicked.exchange(true)) {
            auto run = sequence->begin();
            newerLoad = std::thread([&, run] { LoadCategory(newer, view, site.url(), run); });
        }
    };
    load(older, site.url());
    newerLoad.join();

    EXPECT_EQ(list.rows(), expectedRows("/3d/", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, site.host()));
    EXPECT_EQ(messageTexts(), std::vector<Text>{successMessage});
    EXPECT_FALSE(spinner.visible());
    // The older run asked for no page after it was superseded.
    const auto targets = site.requestedTargets();
    EXPECT_EQ(std::count(targets.begin(), targets.end(), std::string("/ys/index_3.htm")), 0);
}

} // namespace
