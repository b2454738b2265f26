#include "app/detail_window.h"
#include "app/main_window.h"
#include "app/qt_conversions.h"
#include "app/report_list.h"
#include "app/window_hooks.h"
#include "app_test_support.h"
#include "demo-site/movies.h"
#include "details/default_poster.h"
#include "support/demo_site.h"
#include "support/fake_toolkit.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace brisma;
using namespace brisma::app;

namespace {

std::vector<DetailWindow*> openDetailWindows()
{
    std::vector<DetailWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = dynamic_cast<DetailWindow*>(widget); window && window->isVisible()) {
            windows.push_back(window);
        }
    }
    return windows;
}

void closeAll()
{
    for (DetailWindow* window : openDetailWindows()) {
        delete window;
    }
}

// The lines a text box shows, blank ones left out.
QStringList shownLines(const QPlainTextEdit& box)
{
    QStringList lines = box.toPlainText().split(u'\n');
    lines.removeAll(QString());
    return lines;
}

class DetailWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_site.started()) << m_site.error();
        m_hosts.movieSite = m_site.host();
    }

    void TearDown() override { closeAll(); }

    // Puts the movie into the list as a category load would, selected.
    void selectMovie(const demo::Movie& movie)
    {
        const int row = m_list.insertRow();
        m_list.setCell(row, 0, movie.title);
        m_list.setCell(row, 1, movie.date);
        m_list.setCell(row, 2, demo::movieAddress(movie, m_site.host()));
        m_list.select(row);
    }

    // The program's toolkit, which carries the controls' calls to the
    // user-interface thread.
    test::TestToolkit m_toolkit;
    test::DemoSite m_site;
    Hosts m_hosts = Hosts::build();
    std::shared_ptr<test::EventLog> m_log = std::make_shared<test::EventLog>();
    test::FakeReportList m_list{m_log, "超级列表框1"};
};

TEST_F(DetailWindowTest, FormAsItsTableGivesIt)
{
    DetailWindow window(m_list, m_hosts);
    window.show();
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    EXPECT_EQ(window.size(), QSize(781, 555));

    struct Control
    {
        const char16_t* name;
        QRect geometry;
        QFrame::Shape edge;
    };
    const Control controls[] = {
        {u"图片框1", {0, 0, 262, 400}, QFrame::Box},
        {u"编辑框1", {262, 0, 512, 400}, QFrame::Panel},
        {u"编辑框2", {2, 403, 768, 124}, QFrame::Box},
    };
    for (const Control& control : controls) {
        const QString name = QString::fromUtf16(control.name);
        SCOPED_TRACE(name.toStdString());
        auto* frame = window.findChild<QFrame*>(name);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->parentWidget(), &window);
        EXPECT_EQ(frame->geometry(), control.geometry);
        EXPECT_EQ(frame->frameShape(), control.edge);
        EXPECT_EQ(frame->lineWidth(), 1);
    }
    // The picture fills the box inside its border.
    EXPECT_EQ(window.poster().geometry(), QRect(1, 1, 260, 398));
    EXPECT_TRUE(window.poster().picture().empty());

    for (const QPlainTextEdit* box : {&window.synopsis(), &window.links()}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(box->font().family(), QStringLiteral(u"微软雅黑"));
        EXPECT_EQ(box->font().pixelSize(), 12);
        EXPECT_EQ(box->font().weight(), QFont::Normal);
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black));
        EXPECT_TRUE(box->toPlainText().isEmpty());
    }
}

TEST_F(DetailWindowTest, ShowsTheSelectedMovieFromTheSite)
{
    const demo::Movie& movie = demo::firstListedMovie(demo::Variant::LinkBlock);
    selectMovie(movie);

    DetailWindow* window = DetailWindow::open(m_list, m_hosts);

    ASSERT_EQ(openDetailWindows(), std::vector<DetailWindow*>{window});
    EXPECT_EQ(window->windowTitle(), toQString(movie.title));
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));

    EXPECT_TRUE(window->poster().hasImage());
    EXPECT_EQ(window->poster().imageSize(), QSize(240, 340));
    EXPECT_TRUE(window->synopsis().toPlainText().contains(toQString(movie.name)));

    QStringList expectedLinks;
    const TextArray links = demo::blockLinks(movie, m_site.host());
    for (std::size_t i = 0; i < links.size(); ++i) {
        expectedLinks << toQString("下载地址" + std::to_string(i + 1) + "： " + links[i]);
    }
    ASSERT_FALSE(expectedLinks.isEmpty());
    EXPECT_EQ(shownLines(window->links()), expectedLinks);
}

TEST_F(DetailWindowTest, WithoutAPosterShowsTheDefaultPosterAndNoSynopsis)
{
    selectMovie(demo::firstListedMovie(demo::Variant::NoPoster));

    DetailWindow* window = DetailWindow::open(m_list, m_hosts);

    EXPECT_EQ(window->poster().picture(), details::DefaultPoster());
    EXPECT_TRUE(window->poster().hasImage());
    EXPECT_TRUE(window->synopsis().toPlainText().isEmpty());
    EXPECT_FALSE(window->links().toPlainText().isEmpty());
}

// The real program's wiring, from a double-click on the main window's list.
class DetailWindowOpeningTest : public DetailWindowTest
{
protected:
    void SetUp() override
    {
        DetailWindowTest::SetUp();
        MainWindowHooks hooks = programHooks(m_toolkit, m_hosts);
        hooks.checkForUpdate = nullptr; // the demo site's version is not the point here
        m_main = std::make_unique<MainWindow>(m_toolkit, m_skin, m_hosts, hooks);
        ASSERT_TRUE(m_main->load());
        m_listWidget = m_main->findChild<ReportListWidget*>(QStringLiteral(u"超级列表框1"));
        ASSERT_NE(m_listWidget, nullptr);
    }

    void TearDown() override
    {
        closeAll();
        m_main.reset();
    }

    void addMovie(const demo::Movie& movie)
    {
        const int row = m_listWidget->insertRow();
        m_listWidget->setCell(row, 0, movie.title);
        m_listWidget->setCell(row, 2, demo::movieAddress(movie, m_site.host()));
    }

    void doubleClickFirstRow()
    {
        const QRect row = m_listWidget->visualItemRect(m_listWidget->topLevelItem(0));
        QTest::mouseDClick(m_listWidget->viewport(), Qt::LeftButton, {}, row.center());
    }

    test::RecordingSkin m_skin;
    std::unique_ptr<MainWindow> m_main;
    ReportListWidget* m_listWidget = nullptr;
};

TEST_F(DetailWindowOpeningTest, DoubleClickOnASelectedMovieOpensItsWindow)
{
    const demo::Movie& movie = demo::firstListedMovie(demo::Variant::LinkBlock);
    addMovie(movie);
    m_listWidget->topLevelItem(0)->setSelected(true);

    doubleClickFirstRow();

    const auto windows = openDetailWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->windowTitle(), toQString(movie.title));
    EXPECT_TRUE(m_main->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(DetailWindowOpeningTest, DoubleClickWithoutASelectedRowOpensNothing)
{
    addMovie(demo::firstListedMovie(demo::Variant::LinkBlock));
    // A double-click selects the row it lands on; one in the empty part of
    // the list leaves the selection empty.
    QTest::mouseDClick(m_listWidget->viewport(), Qt::LeftButton, {},
                       QPoint(20, m_listWidget->viewport()->height() - 10));

    EXPECT_EQ(m_listWidget->selectedRow(), -1);
    EXPECT_TRUE(openDetailWindows().empty());
    EXPECT_TRUE(m_site.requests().empty());
}

} // namespace
