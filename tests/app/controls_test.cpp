#include "app/colour_button.h"
#include "app/controls.h"
#include "app/picture_box.h"
#include "app/qt_conversions.h"
#include "app/report_list.h"
#include "app_test_support.h"
#include "resources/resources.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::app;

namespace {

TEST(ReportList, ColumnsAsTheFormGivesThem)
{
    test::TestToolkit toolkit;
    ReportListWidget list;
    list.setColumns({{"标题", 300}, {"日期", 100}, {"地址", 0}});
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral(u"标题"));
    EXPECT_EQ(list.headerItem()->text(2), QStringLiteral(u"地址"));
    EXPECT_EQ(list.header()->sectionSize(0), 300);
    EXPECT_EQ(list.header()->sectionSize(1), 100);
    EXPECT_EQ(list.header()->sectionSize(2), 0);
}

TEST(ReportList, CellsGiveBackExactlyTheTextSet)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 300}, {"日期", 100}, {"地址", 0}});
    QtReportList list(&widget);
    const Text texts[] = {
        "电影《测试》",
        "<b>not markup</b>",
        "\x81",     // half a character, as a page cut short might leave
        "\xAA\xF3", // a user-defined code
        "http://127.0.0.1:8936/3d/1.html",
        "",
    };
    for (const Text& text : texts) {
        const int row = list.insertRow();
        list.setCell(row, 2, text);
        EXPECT_EQ(list.cell(row, 2), text);
    }
    EXPECT_EQ(list.rowCount(), 6);
    EXPECT_EQ(widget.topLevelItem(1)->text(2), QStringLiteral("<b>not markup</b>"));
}

TEST(ReportList, RowsAndColumnsOutOfRangeAreIgnored)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 300}, {"日期", 100}, {"地址", 0}});
    QtReportList list(&widget);
    EXPECT_EQ(list.insertRow(), 0);
    EXPECT_EQ(list.insertRow(), 1);
    for (auto [row, column] :
         {std::pair(-1, 0), std::pair(2, 0), std::pair(0, 3), std::pair(0, -1)}) {
        list.setCell(row, column, "x");
        EXPECT_EQ(list.cell(row, column), "");
    }
    list.deleteAllRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.insertRow(), 0);
}

TEST(ReportList, SelectedRow)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 300}});
    QtReportList list(&widget);
    for (int i = 0; i < 4; ++i) {
        list.insertRow();
    }
    EXPECT_EQ(list.selectedRow(), -1);
    widget.topLevelItem(2)->setSelected(true);
    EXPECT_EQ(list.selectedRow(), 2);
    widget.clearSelection();
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST(ReportList, ColoursShowAtOnce)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 60}, {"日期", 60}});
    widget.resize(300, 200);
    QtReportList list(&widget);
    const int row = list.insertRow();
    list.setCell(row, 0, "a");
    widget.show();

    const QRect cell = widget.visualItemRect(widget.topLevelItem(0));
    const auto inCell = [&] {
        return test::pixelOf(*widget.viewport(), cell.right() - 3, cell.center().y());
    };
    const auto belowRows = [&] { return test::pixelOf(*widget.viewport(), 150, 150); };
    EXPECT_EQ(belowRows(), QColor(255, 255, 255));
    EXPECT_EQ(inCell(), QColor(255, 255, 255));

    list.setBackgroundColour(rgb(0, 163, 0));
    list.setTextBackgroundColour(rgb(12, 100, 233));
    list.setTextColour(rgb(255, 255, 255));
    EXPECT_EQ(belowRows(), QColor(0, 163, 0));
    EXPECT_EQ(inCell(), QColor(12, 100, 233));
    widget.ensurePolished();
    EXPECT_EQ(widget.palette().color(QPalette::Text), QColor(255, 255, 255));
}

TEST(ReportList, DoubleClickAnywhereInTheListIsReported)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 300}});
    widget.resize(300, 200);
    int doubleClicks = 0;
    widget.onDoubleClicked = [&] { ++doubleClicks; };
    widget.show();
    QTest::mouseDClick(widget.viewport(), Qt::LeftButton, {}, QPoint(50, 150));
    EXPECT_EQ(doubleClicks, 1);
}

TEST(Label, CaptionIsPlainTextInCodePage936)
{
    test::TestToolkit toolkit;
    QLabel widget;
    QtLabel label(&widget);
    label.setCaption("<i>正在获取</i>");
    EXPECT_EQ(widget.text(), QStringLiteral(u"<i>正在获取</i>"));
    EXPECT_EQ(widget.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.caption(), "<i>正在获取</i>");
    label.setCaption("\xAA\xF3");
    EXPECT_EQ(widget.text(), QString(QChar(0xE052)));
}

TEST(Label, FontFaceNameKeepsSizeAndStyle)
{
    test::TestToolkit toolkit;
    QLabel widget;
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    font.setItalic(true);
    widget.setFont(font);
    QtLabel label(&widget);
    label.setFontFaceName("Setup");
    EXPECT_EQ(widget.font().family(), QStringLiteral("Setup"));
    EXPECT_EQ(widget.font().pixelSize(), 16);
    EXPECT_TRUE(widget.font().bold());
    EXPECT_TRUE(widget.font().italic());
}

TEST(Label, Visible)
{
    test::TestToolkit toolkit;
    QWidget parent;
    auto* widget = new QLabel(&parent);
    QtLabel label(widget);
    label.setVisible(false);
    EXPECT_TRUE(widget->isHidden());
    label.setVisible(true);
    EXPECT_FALSE(widget->isHidden());
}

TEST(Timer, PeriodZeroStopsAndAPositivePeriodStarts)
{
    test::TestToolkit toolkit;
    QTimer widget;
    QtTimer timer(&widget);
    EXPECT_EQ(timer.period(), 0);
    timer.setPeriod(30);
    EXPECT_TRUE(widget.isActive());
    EXPECT_EQ(widget.interval(), 30);
    timer.setPeriod(250);
    EXPECT_EQ(timer.period(), 250);
    timer.setPeriod(0);
    EXPECT_FALSE(widget.isActive());
    EXPECT_EQ(timer.period(), 0);
}

TEST(PictureBox, ReadsJpegAndBmpAndGivesBackTheBytesSet)
{
    test::TestToolkit toolkit;
    struct Case
    {
        const char* resource;
        QSize size;
    };
    for (const Case& c :
         {Case{"main-banner-bottom.jpg", {1353, 105}}, Case{"main-banner-top.bmp", {427, 22}}}) {
        SCOPED_TRACE(c.resource);
        PictureBoxWidget widget(PictureBoxWidget::Fit::Stretch);
        QtPictureBox box(&widget);
        const Bytes picture = resources::load(c.resource);
        ASSERT_FALSE(picture.empty());
        box.setPicture(picture);
        EXPECT_EQ(widget.imageSize(), c.size);
        EXPECT_EQ(box.picture(), picture);
    }
}

TEST(PictureBox, BytesThatAreNoPictureShowNothingButComeBack)
{
    test::TestToolkit toolkit;
    PictureBoxWidget widget(PictureBoxWidget::Fit::Stretch);
    QtPictureBox box(&widget);
    const Bytes cases[] = {{}, {'<', 'h', 't', 'm', 'l', '>'}, {0xFF, 0xD8, 0xFF}};
    for (const Bytes& bytes : cases) {
        box.setPicture(resources::load("main-banner-logo.bmp"));
        box.setPicture(bytes);
        EXPECT_FALSE(widget.hasImage());
        EXPECT_EQ(box.picture(), bytes);
    }
}

TEST(PictureBox, StretchedFillsTheBoxOwnSizeDoesNot)
{
    test::TestToolkit toolkit;
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    parent.setPalette(palette);
    parent.resize(300, 100);
    auto* stretched = new PictureBoxWidget(PictureBoxWidget::Fit::Stretch, &parent);
    stretched->setGeometry(0, 0, 150, 100);
    auto* ownSize = new PictureBoxWidget(PictureBoxWidget::Fit::OwnSize, &parent);
    ownSize->setGeometry(150, 0, 150, 100);
    const Bytes logo = resources::load("main-banner-logo.bmp"); // 63 x 41
    stretched->setPicture(logo);
    ownSize->setPicture(logo);
    parent.show();

    const QImage drawn = parent.grab().toImage();
    EXPECT_NE(drawn.pixelColor(140, 90), QColor(Qt::magenta));
    EXPECT_NE(drawn.pixelColor(150 + 5, 5), QColor(Qt::magenta));
    EXPECT_EQ(drawn.pixelColor(150 + 100, 90), QColor(Qt::magenta));
}

TEST(EditBox, AppendAddsAtTheEndAndScrollsThere)
{
    test::TestToolkit toolkit;
    QPlainTextEdit widget;
    widget.resize(200, 60);
    widget.show();
    QtEditBox box(&widget);
    box.setText("第一行\r\n");
    for (int i = 0; i < 30; ++i) {
        box.appendText("thunder://QUFodHRw\r\n");
    }
    box.appendText("<b>最后</b>");
    EXPECT_TRUE(widget.toPlainText().endsWith(QStringLiteral(u"QUFodHRw\n<b>最后</b>")));
    EXPECT_TRUE(widget.toPlainText().startsWith(QStringLiteral(u"第一行\n")));
    EXPECT_GT(widget.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(widget.verticalScrollBar()->value(), widget.verticalScrollBar()->maximum());
}

TEST(EditBox, LinesBreakAtCrLfOnly)
{
    test::TestToolkit toolkit;
    QPlainTextEdit widget;
    QtEditBox box(&widget);
    struct Case
    {
        const char* name;
        Text text;
        QString shown;
        Text readBack;
    } cases[] = {
        {"CR LF breaks the line", "a\r\nb", QStringLiteral(u"a\nb"), "a\r\nb"},
        {"the page's LF after a CR LF shows nothing", "\nS\r\n\nT\r\n", QStringLiteral(u"S\nT\n"),
         "S\r\nT\r\n"},
        {"a lone CR shows nothing", "a\rb", QStringLiteral(u"ab"), "ab"},
        {"Chinese text around the breaks", "简介\r\n\n片名", QStringLiteral(u"简介\n片名"),
         "简介\r\n片名"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.setText(c.text);
        EXPECT_EQ(widget.toPlainText(), c.shown);
        EXPECT_EQ(box.text(), c.readBack);
    }
}

TEST(EditBox, SingleLine)
{
    test::TestToolkit toolkit;
    QLineEdit widget;
    QtEditBox box(&widget);
    box.setText("magnet:");
    box.appendText("?xt=<x>");
    EXPECT_EQ(box.text(), "magnet:?xt=<x>");
    EXPECT_EQ(widget.cursorPosition(), widget.text().size());
}

TEST(ColourButton, DrawsItsColoursFlat)
{
    test::TestToolkit toolkit;
    QWidget window;
    window.resize(300, 200);
    auto* button =
        new ColourButton("3D电影专区", {rgb(0, 163, 0), rgb(0, 153, 0), rgb(0, 119, 0)}, &window);
    button->setGeometry(10, 10, 240, 65);
    auto* other = new QPushButton(&window);
    other->setGeometry(10, 100, 50, 20);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();

    // Corner and middle: one colour, no gradient.
    EXPECT_EQ(test::pixelOf(*button, 3, 3), QColor(0, 163, 0));
    EXPECT_EQ(test::pixelOf(*button, 236, 61), QColor(0, 163, 0));
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(255, 255, 255));

    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(test::pixelOf(*button, 3, 3), QColor(0, 119, 0));
}

} // namespace
