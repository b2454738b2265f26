#include "app/glyph_text.h"
#include "app/main_window.h"
#include "app/qt_conversions.h"
#include "app_test_support.h"
#include "platform/codepage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>

using namespace brisma;
using namespace brisma::app;

namespace {

// What the category loads were asked to do, from their worker threads.
struct StartedLoad
{
    Text indexPath;
    Text siteRoot;
    catalogue::LoadSequence::Run run;
};

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        m_hosts = Hosts::build();
        m_hosts.movieSite = "movies.example.test:8080";
    }

    ~MainWindowTest() override
    {
        releaseLoads();
        test::processEventsUntil([&] { return m_toolkit.runningThreads() == 0; });
    }

    MainWindowHooks hooks()
    {
        MainWindowHooks hooks;
        hooks.checkForUpdate = [this] {
            m_tintsAtUpdateCheck = static_cast<int>(m_skin.tints().size());
            return m_updateCheckPasses;
        };
        hooks.openDetailWindow = [this](MainWindow&) { ++m_detailWindowsOpened; };
        hooks.openPlayerWindow = [this](MainWindow&) { ++m_playerWindowsOpened; };
        hooks.loadCategory = [this](const catalogue::Category& category,
                                    const catalogue::CategoryView&, const Text& siteRoot,
                                    const catalogue::LoadSequence::Run& run) {
            std::unique_lock lock(m_mutex);
            m_loads.push_back({category.indexPath, siteRoot, run});
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return !m_holdLoads; });
        };
        return hooks;
    }

    std::unique_ptr<MainWindow> loadedWindow()
    {
        auto window = std::make_unique<MainWindow>(m_toolkit, m_skin, m_hosts, hooks());
        EXPECT_TRUE(window->load());
        return window;
    }

    std::vector<StartedLoad> loads()
    {
        std::lock_guard lock(m_mutex);
        return m_loads;
    }

    void releaseLoads()
    {
        std::lock_guard lock(m_mutex);
        m_holdLoads = false;
        m_changed.notify_all();
    }

    void click(MainWindow& window, QStringView buttonName)
    {
        auto* button = window.findChild<QPushButton*>(buttonName.toString());
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    test::TestToolkit m_toolkit;
    test::RecordingSkin m_skin;
    Hosts m_hosts;
    bool m_updateCheckPasses = true;
    int m_tintsAtUpdateCheck = -1;
    int m_detailWindowsOpened = 0;
    int m_playerWindowsOpened = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<StartedLoad> m_loads;
    bool m_holdLoads = false;
};

struct FormControl
{
    const char16_t* name;
    const char16_t* parent;
    QRect geometry;
    const char16_t* caption; // null: none to check
    int fontHeight;          // 0: none to check
};

TEST_F(MainWindowTest, FormAsItsTableGivesIt)
{
    auto window = loadedWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brisma v5.0"));
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    EXPECT_EQ(window->size(), QSize(781, 625));

    const FormControl controls[] = {
        {u"图片框1", u"MainWindow", {-32, 0, 936, 80}, nullptr, 0},
        {u"图片框2", u"图片框1", {80, 40, 56, 40}, nullptr, 0},
        {u"标签1", u"图片框1", {320, 49, 32, 24}, nullptr, 16},
        {u"标签2", u"图片框1", {352, 48, 128, 24}, u"正在获取电影信息", 15},
        {u"超级按钮_最新电影", u"MainWindow", {-4, 84, 240, 65}, u"最新热门电影", 14},
        {u"超级按钮_BD高清", u"MainWindow", {-4, 156, 240, 65}, u"BD高清", 14},
        {u"超级按钮_1018P", u"MainWindow", {-4, 228, 240, 65}, u"1018P", 14},
        {u"超级按钮_720P", u"MainWindow", {-4, 300, 240, 65}, u"720P", 14},
        {u"超级按钮_3D", u"MainWindow", {-4, 372, 240, 65}, u"3D电影专区", 14},
        {u"超级按钮_免费云播", u"MainWindow", {-4, 444, 240, 65}, u"免费在线云播", 14},
        {u"超级按钮_迅雷会员", u"MainWindow", {1404, 587, 295, 62}, u"免费迅雷会员", 14},
        {u"超级列表框1", u"MainWindow", {242, 84, 527, 425}, nullptr, 12},
        {u"图片框3", u"MainWindow", {0, 514, 896, 80}, nullptr, 0},
    };
    for (const FormControl& control : controls) {
        const QString name = QString::fromUtf16(control.name);
        SCOPED_TRACE(name.toStdString());
        auto* widget = window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf16(control.parent));
        EXPECT_EQ(widget->geometry(), control.geometry);
        if (control.caption != nullptr) {
            const QString caption = QString::fromUtf16(control.caption);
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                EXPECT_EQ(button->text(), caption);
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                EXPECT_EQ(label->text(), caption);
            }
        }
        if (control.fontHeight != 0) {
            EXPECT_EQ(widget->font().pixelSize(), control.fontHeight);
            EXPECT_EQ(widget->font().weight(), QFont::Normal);
        }
    }
}

TEST_F(MainWindowTest, FormFontFallsBackToAnInstalledChineseFont)
{
    auto window = loadedWindow();
    auto* button = window->findChild<QPushButton*>(QStringLiteral(u"超级按钮_3D"));
    EXPECT_EQ(button->font().family(), QStringLiteral(u"微软雅黑"));
    const QFontMetrics metrics(button->font());
    EXPECT_TRUE(metrics.inFont(QChar(u'电'))) << QFontInfo(button->font()).family().toStdString();
}

struct ButtonColours
{
    const char16_t* name;
    QColor normal;
};

TEST_F(MainWindowTest, ButtonsInTheirColoursWithWhiteText)
{
    auto window = loadedWindow();
    const ButtonColours buttons[] = {
        {u"超级按钮_最新电影", QColor(218, 84, 45)},
        {u"超级按钮_BD高清", QColor(12, 100, 233)},
        {u"超级按钮_1018P", QColor(196, 0, 206)},
        {u"超级按钮_720P", QColor(214, 165, 1)},
        {u"超级按钮_3D", QColor(0, 163, 0)},
        {u"超级按钮_免费云播", QColor(255, 106, 106)},
        {u"超级按钮_迅雷会员", QColor(128, 128, 255)},
    };
    for (const ButtonColours& button : buttons) {
        auto* widget = window->findChild<ColourButton*>(QString::fromUtf16(button.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(test::pixelOf(*widget, 6, 6), button.normal)
            << QString::fromUtf16(button.name).toStdString();
        EXPECT_EQ(widget->palette().color(QPalette::ButtonText), QColor(255, 255, 255));
    }
    auto* player = window->findChild<ColourButton*>(QStringLiteral(u"超级按钮_免费云播"));
    EXPECT_EQ(player->colours().hover, rgb(215, 78, 38));
    EXPECT_EQ(player->colours().focus, rgb(255, 151, 151));
}

TEST_F(MainWindowTest, StartsWithAWhiteListAndTheIndicatorHiddenButStepping)
{
    auto window = loadedWindow();
    auto* list = window->findChild<ReportListWidget*>(QStringLiteral(u"超级列表框1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->backgroundColour(), rgb(255, 255, 255));
    EXPECT_EQ(list->textBackgroundColour(), rgb(255, 255, 255));
    EXPECT_EQ(list->textColour(), rgb(0, 0, 0));
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral(u"标题"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral(u"日期"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral(u"地址"));
    EXPECT_EQ(list->header()->sectionSize(0), 300);
    EXPECT_EQ(list->header()->sectionSize(1), 100);
    EXPECT_EQ(list->header()->sectionSize(2), 0);
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral(u"标签1"))->isHidden());
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral(u"标签2"))->isHidden());
    EXPECT_EQ(window->stepTimer().period(), 30);
    EXPECT_EQ(window->pauseTimer().period(), 0);
    // The glyph steps although nobody sees it.
    const Text before = window->spinner().caption();
    EXPECT_TRUE(test::processEventsUntil([&] { return window->spinner().caption() != before; }));
}

TEST_F(MainWindowTest, CreationChecksForUpdatesFirstThenTintsAndInstallsTheGlyphFont)
{
    auto window = loadedWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(m_tintsAtUpdateCheck, 0);
    EXPECT_EQ(m_skin.tints(), (std::vector<std::tuple<int, int, int>>{{120, 90, 40}}));
    EXPECT_EQ(window->glyphCounter(), MainWindow::firstGlyph);

    ASSERT_NE(window->fontHandle(), 0);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(window->fontHandle() - 1),
              QStringList{QStringLiteral("Setup")});
    const QFont spinnerFont = window->findChild<QLabel*>(QStringLiteral(u"标签1"))->font();
    EXPECT_EQ(QFontInfo(spinnerFont).family(), QStringLiteral("Setup"));
    EXPECT_EQ(spinnerFont.pixelSize(), 16);
    const QFontMetrics metrics(spinnerFont);
    EXPECT_TRUE(metrics.inFont(QChar(0xE052)));
    EXPECT_TRUE(metrics.inFont(QChar(0xE0CB)));
}

TEST_F(MainWindowTest, AFailedUpdateCheckStopsTheCreation)
{
    m_updateCheckPasses = false;
    MainWindow window(m_toolkit, m_skin, m_hosts, hooks());
    EXPECT_FALSE(window.load());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(m_skin.tints().empty());
    EXPECT_EQ(window.fontHandle(), 0);
}

TEST_F(MainWindowTest, DestructionRemovesTheMemoryFont)
{
    auto window = loadedWindow();
    const FontHandle handle = window->fontHandle();
    ASSERT_NE(handle, 0);
    window.reset();
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(handle - 1).isEmpty());
    EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("Setup")));
}

TEST_F(MainWindowTest, ACategoryClickColoursTheListShowsTheIndicatorTintsAndStartsALoad)
{
    for (const catalogue::Category& category : catalogue::categories()) {
        SCOPED_TRACE(category.indexPath);
        m_loads.clear();
        auto window = loadedWindow();
        click(*window, toQString(category.buttonName));

        auto* list = window->findChild<ReportListWidget*>(QStringLiteral(u"超级列表框1"));
        EXPECT_EQ(list->backgroundColour(), category.listColour);
        EXPECT_EQ(list->textBackgroundColour(), category.listColour);
        EXPECT_EQ(list->textColour(), rgb(255, 255, 255));
        EXPECT_EQ(test::pixelOf(*list->viewport(), 400, 300), toQColor(category.listColour));
        EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral(u"标签1"))->isHidden());
        EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral(u"标签2"))->isHidden());
        EXPECT_EQ(m_skin.tints().back(),
                  std::make_tuple(category.hue, category.saturation, category.value));

        ASSERT_TRUE(test::processEventsUntil([&] { return m_toolkit.runningThreads() == 0; }));
        const auto started = loads();
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].indexPath, category.indexPath);
        EXPECT_EQ(started[0].siteRoot, "http://movies.example.test:8080");
    }
}

TEST_F(MainWindowTest, ASecondClickWhileTheFirstLoadRunsStartsASecondLoad)
{
    m_holdLoads = true;
    auto window = loadedWindow();
    click(*window, u"超级按钮_3D");
    ASSERT_TRUE(test::processEventsUntil([&] { return loads().size() == 1; }));
    click(*window, u"超级按钮_3D");
    ASSERT_TRUE(test::processEventsUntil([&] { return loads().size() == 2; }));

    EXPECT_EQ(m_toolkit.runningThreads(), 2);
    const auto started = loads();
    EXPECT_FALSE(started[0].run.isCurrent());
    EXPECT_TRUE(started[1].run.isCurrent());
    EXPECT_EQ(m_skin.tints().size(), 3u);
    releaseLoads();
    EXPECT_TRUE(test::processEventsUntil([&] { return m_toolkit.runningThreads() == 0; }));
}

TEST_F(MainWindowTest, TheGlyphStepsThroughItsCodePointsThenPauses)
{
    auto window = loadedWindow();
    // The first step shows U+E052, which code page 936 holds as AA F3.
    window->onGlyphStep();
    EXPECT_EQ(window->spinner().caption(), "\xAA\xF3");
    EXPECT_EQ(window->glyphCounter(), 0xE053);

    for (int codePoint = 0xE053; codePoint < 0xE0CB; ++codePoint) {
        window->onGlyphStep();
        ASSERT_EQ(platform::gbkToUtf16(window->spinner().caption()),
                  std::u16string(1, static_cast<char16_t>(codePoint)));
    }
    EXPECT_EQ(window->glyphCounter(), 0xE0CB);
    EXPECT_EQ(window->stepTimer().period(), 30);

    // The step that shows U+E0CB replaces it by a space and pauses.
    window->onGlyphStep();
    EXPECT_EQ(window->spinner().caption(), " ");
    EXPECT_EQ(window->glyphCounter(), 0xE052);
    EXPECT_EQ(window->stepTimer().period(), 0);
    EXPECT_EQ(window->pauseTimer().period(), 250);

    window->onPauseEnded();
    EXPECT_EQ(window->stepTimer().period(), 30);
    EXPECT_EQ(window->pauseTimer().period(), 0);
    window->onGlyphStep();
    EXPECT_EQ(window->spinner().caption(), "\xAA\xF3");
}

TEST_F(MainWindowTest, DoubleClickOpensTheDetailWindowOnlyWithARowSelected)
{
    auto window = loadedWindow();
    auto* list = window->findChild<ReportListWidget*>(QStringLiteral(u"超级列表框1"));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, 300));
    EXPECT_EQ(m_detailWindowsOpened, 0);

    window->movieList().setCell(window->movieList().insertRow(), 0, "电影");
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->movieList().selectedRow(), 0);
    EXPECT_EQ(m_detailWindowsOpened, 1);
}

TEST_F(MainWindowTest, PlayerButtonOpensThePlayerAndTheHiddenButtonDoesNothing)
{
    auto window = loadedWindow();
    click(*window, u"超级按钮_免费云播");
    EXPECT_EQ(m_playerWindowsOpened, 1);
    window->findChild<QPushButton*>(QStringLiteral(u"超级按钮_迅雷会员"))->click();
    EXPECT_EQ(m_playerWindowsOpened, 1);
    EXPECT_EQ(m_detailWindowsOpened, 0);
    EXPECT_TRUE(loads().empty());
}

} // namespace
