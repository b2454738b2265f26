#include "app/main_window.h"
#include "app/player_window.h"
#include "app/window_hooks.h"
#include "app_test_support.h"
#include "support/fake_toolkit.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace brisma;
using namespace brisma::app;

namespace {

const QString initialLink =
    QStringLiteral(u"请在此输入视频链接（thunder、ftp、http、ed2k、magnet、xplan、bt）");

std::vector<PlayerWindow*> openPlayerWindows()
{
    std::vector<PlayerWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = dynamic_cast<PlayerWindow*>(widget); window && window->isVisible()) {
            windows.push_back(window);
        }
    }
    return windows;
}

void closeAll(const std::vector<PlayerWindow*>& windows)
{
    for (PlayerWindow* window : windows) {
        delete window;
    }
}

// Number of pixels of exactly this colour in the widget as drawn now.
int pixelsOf(QWidget& widget, const QColor& colour)
{
    const QImage image = widget.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class PlayerWindowTest : public ::testing::Test
{
protected:
    std::shared_ptr<test::EventLog> m_log = std::make_shared<test::EventLog>();
    test::FakeToolkit m_toolkit{m_log};
};

TEST_F(PlayerWindowTest, FormAsItsTableGivesIt)
{
    PlayerWindow window(m_toolkit);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.windowTitle(), QStringLiteral(u"免费在线云播放器"));
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    EXPECT_EQ(window.size(), QSize(785, 283));

    struct Control
    {
        const char16_t* name;
        QRect geometry;
        int fontHeight; // 0: no font to check
    };
    const Control controls[] = {
        {u"图片框1", {0, 0, 784, 112}, 0},
        {u"编辑框1", {16, 160, 584, 32}, 12},
        {u"超级按钮_播放", {608, 160, 160, 32}, 14},
    };
    for (const Control& control : controls) {
        const QString name = QString::fromUtf16(control.name);
        SCOPED_TRACE(name.toStdString());
        auto* widget = window.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), &window);
        EXPECT_EQ(widget->geometry(), control.geometry);
        if (control.fontHeight != 0) {
            EXPECT_EQ(widget->font().family(), QStringLiteral(u"微软雅黑"));
            EXPECT_EQ(widget->font().pixelSize(), control.fontHeight);
            EXPECT_EQ(widget->font().weight(), QFont::Normal);
        }
    }
    EXPECT_EQ(window.playButton().text(), QStringLiteral(u"播放"));
    // The carried banner, read as a picture and stretched over the box.
    EXPECT_TRUE(window.banner().hasImage());
    EXPECT_EQ(window.banner().imageSize(), QSize(865, 130));
}

TEST_F(PlayerWindowTest, LinkBoxStartsWithItsTextInBlueOnWhite)
{
    PlayerWindow window(m_toolkit);
    ASSERT_TRUE(window.load());
    QLineEdit& box = window.linkBox();
    EXPECT_EQ(box.text(), initialLink);
    EXPECT_TRUE(box.placeholderText().isEmpty()); // real text, not a hint
    EXPECT_FALSE(box.isReadOnly());
    EXPECT_TRUE(box.alignment() & Qt::AlignLeft);
    EXPECT_GE(box.maxLength(), 1 << 30);

    EXPECT_EQ(test::pixelOf(box, box.width() - 6, box.height() / 2), QColor(255, 255, 255));
    EXPECT_GT(pixelsOf(box, QColor(8, 168, 218)), 20);
}

TEST_F(PlayerWindowTest, LinkBoxTakesLinksLongerThanQtsDefaultLimit)
{
    PlayerWindow window(m_toolkit);
    const QString link = QStringLiteral("magnet:?xt=urn:btih:") + QString(40000, u'a');
    window.linkBox().setText(link);
    EXPECT_EQ(window.linkBox().text(), link);
}

TEST_F(PlayerWindowTest, PlayButtonInItsColours)
{
    PlayerWindow window(m_toolkit);
    ASSERT_TRUE(window.load());
    ColourButton& button = window.playButton();
    EXPECT_EQ(test::pixelOf(button, 4, 4), QColor(149, 215, 241));
    EXPECT_EQ(button.colours().hover, rgb(128, 207, 238));
    EXPECT_EQ(button.colours().focus, rgb(111, 202, 236));
    EXPECT_EQ(button.palette().color(QPalette::ButtonText), QColor(255, 255, 255));
}

TEST_F(PlayerWindowTest, PlayAsksForACompleteEntryWhateverTheBoxHolds)
{
    const QString entries[] = {
        initialLink,
        QString(),
        QStringLiteral("magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567"),
    };
    for (const QString& entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        test::FakeToolkit toolkit(m_log);
        PlayerWindow window(toolkit);
        ASSERT_TRUE(window.load());
        window.linkBox().setText(entry);

        QTest::mouseClick(&window.playButton(), Qt::LeftButton);

        const auto messages = toolkit.messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, Text("请输入完整的信息"));
        EXPECT_EQ(messages[0].flags, 0);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.linkBox().text(), entry);
        EXPECT_TRUE(toolkit.openedAddresses().empty());
    }
}

// The real program's wiring: the main window's player button opens the
// window beside it, and the main window stays usable.
TEST(PlayerWindowOpening, PlayerButtonOpensItWithoutOwnerAndNotModal)
{
    test::TestToolkit toolkit;
    test::RecordingSkin skin;
    const Hosts hosts = Hosts::build();
    MainWindowHooks hooks = programHooks(toolkit, hosts);
    hooks.checkForUpdate = nullptr; // no update server here
    MainWindow main(toolkit, skin, hosts, hooks);
    ASSERT_TRUE(main.load());
    auto* button = main.findChild<QPushButton*>(QStringLiteral(u"超级按钮_免费云播"));
    ASSERT_NE(button, nullptr);

    QTest::mouseClick(button, Qt::LeftButton);
    auto windows = openPlayerWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->parentWidget(), nullptr);
    EXPECT_EQ(windows[0]->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(windows[0]->testAttribute(Qt::WA_DeleteOnClose));

    // Each click loads a window of its own.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(openPlayerWindows().size(), 2u);
    closeAll(openPlayerWindows());
}

} // namespace
