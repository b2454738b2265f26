#include "app/main_window.h"

#include "app/glyph_text.h"
#include "app/qt_conversions.h"
#include "resources/resources.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace brisma::app {
namespace {

const Text windowCaption = "Brisma v5.0";
const Text glyphFontFace = "Setup";
// Shown between two turns of the glyph.
const Text glyphPauseCaption = " ";

struct SkinTint
{
    int hue;
    int saturation;
    int value;
};
constexpr SkinTint createdTint{120, 90, 40};

constexpr Rgb white = rgb(255, 255, 255);

ColourButton::Colours coloursOf(const catalogue::Category& category)
{
    return {category.listColour, category.hoverColour, category.focusColour};
}

template <class Widget> Widget* named(Widget* widget, const char16_t* formName)
{
    widget->setObjectName(QString::fromUtf16(formName));
    return widget;
}

} // namespace

MainWindow::MainWindow(platform::Toolkit& toolkit, SkinRoutines& skin, Hosts hosts,
                       MainWindowHooks hooks)
    : m_toolkit(toolkit), m_skin(skin), m_hosts(std::move(hosts)), m_hooks(std::move(hooks)),
      m_loads(catalogue::LoadSequence::create())
{
    if (!m_hooks.loadCategory) {
        m_hooks.loadCategory = catalogue::LoadCategory;
    }
    setObjectName(QStringLiteral("MainWindow"));
    setCaption(windowCaption);
    move(50, 50);
    setFixedSize(781, 625);
    buildBanner();
    buildButtons();
    buildMovieList();
}

void MainWindow::buildBanner()
{
    auto* banner = named(new PictureBoxWidget(PictureBoxWidget::Fit::Stretch, this), u"图片框1");
    place(*banner, -32, 0, 936, 80);
    banner->setPicture(resources::load("main-banner-top.bmp"));

    auto* logo = named(new PictureBoxWidget(PictureBoxWidget::Fit::OwnSize, banner), u"图片框2");
    place(*logo, 80, 40, 56, 40);
    logo->setPicture(resources::load("main-banner-logo.bmp"));

    auto* spinner = named(new QLabel(banner), u"标签1");
    place(*spinner, 320, 49, 32, 24);
    QFont spinnerFont; // no face in the form: the glyph font's face is set at creation
    spinnerFont.setPixelSize(16);
    spinner->setFont(spinnerFont);
    m_spinner = std::make_shared<QtLabel>(spinner);
    m_spinner->setCaption("标签");
    m_spinner->setVisible(false);

    auto* status = named(new QLabel(banner), u"标签2");
    place(*status, 352, 48, 128, 24);
    status->setFont(formFont(15));
    m_status = std::make_shared<QtLabel>(status);
    m_status->setCaption("正在获取电影信息");
    m_status->setVisible(false);

    auto* footer = named(new PictureBoxWidget(PictureBoxWidget::Fit::Stretch, this), u"图片框3");
    place(*footer, 0, 514, 896, 80);
    footer->setPicture(resources::load("main-banner-bottom.jpg"));

    auto* step = named(new QTimer(this), u"时钟1");
    connect(step, &QTimer::timeout, this, [this] { onGlyphStep(); });
    m_stepTimer = std::make_unique<QtTimer>(step);
    m_stepTimer->setPeriod(glyphStepMilliseconds);

    auto* pause = named(new QTimer(this), u"时钟2");
    connect(pause, &QTimer::timeout, this, [this] { onPauseEnded(); });
    m_pauseTimer = std::make_unique<QtTimer>(pause);
}

void MainWindow::buildButtons()
{
    int top = 84;
    for (const catalogue::Category& category : catalogue::categories()) {
        auto* button = new ColourButton(category.caption, coloursOf(category), this);
        button->setObjectName(toQString(category.buttonName));
        place(*button, -4, top, 240, 65);
        button->setFont(formFont(14));
        connect(button, &QPushButton::clicked, this,
                [this, &category] { onCategoryClicked(category); });
        top += 72;
    }

    auto* player =
        named(new ColourButton("免费在线云播",
                               {rgb(255, 106, 106), rgb(215, 78, 38), rgb(255, 151, 151)}, this),
              u"超级按钮_免费云播");
    place(*player, -4, 444, 240, 65);
    player->setFont(formFont(14));
    connect(player, &QPushButton::clicked, this, [this] { onPlayerButtonClicked(); });

    // Lies beyond the window's right edge in the form, so nobody sees it.
    auto* thunder =
        named(new ColourButton("免费迅雷会员",
                               {rgb(128, 128, 255), rgb(106, 106, 255), rgb(106, 106, 255)}, this),
              u"超级按钮_迅雷会员");
    place(*thunder, 1404, 587, 295, 62);
    thunder->setFont(formFont(14));
    connect(thunder, &QPushButton::clicked, this, [this] { onThunderMemberButtonClicked(); });
}

void MainWindow::buildMovieList()
{
    auto* list = named(new ReportListWidget(this), u"超级列表框1");
    place(*list, 242, 84, 527, 425);
    list->setFont(formFont(12));
    list->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    list->setLineWidth(1);
    list->setColumns({{"标题", 300}, {"日期", 100}, {"地址", 0}});
    list->onDoubleClicked = [this] { onMovieListDoubleClicked(); };
    m_list = std::make_shared<QtReportList>(list);
}

MainWindow::~MainWindow()
{
    removeFontMemResource(m_fontHandle);
}

bool MainWindow::onCreated()
{
    if (m_hooks.checkForUpdate && !m_hooks.checkForUpdate()) {
        return false;
    }
    m_skin.adjustHSV(createdTint.hue, createdTint.saturation, createdTint.value);
    m_fontHandle = addFontMemResource(resources::load("setup-glyphs.ttf"));
    m_glyphCounter = firstGlyph;
    m_spinner->setFontFaceName(glyphFontFace);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, other windows or not.
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::onCategoryClicked(const catalogue::Category& category)
{
    m_list->setBackgroundColour(category.listColour);
    m_list->setTextBackgroundColour(category.listColour);
    m_list->setTextColour(white);
    m_spinner->setVisible(true);
    m_status->setVisible(true);
    m_skin.adjustHSV(category.hue, category.saturation, category.value);
    startLoading(category);
}

void MainWindow::startLoading(const catalogue::Category& category)
{
    const catalogue::LoadSequence::Run run = m_loads->begin();
    // The worker holds its own references to everything it touches, so a
    // load still running when the window goes does no harm.
    m_toolkit.startThread([list = m_list, spinner = m_spinner, status = m_status,
                           &toolkit = m_toolkit, load = m_hooks.loadCategory, category,
                           siteRoot = m_hosts.movieSiteRoot(), run] {
        const catalogue::CategoryView view{*list, *spinner, *status, toolkit};
        load(category, view, siteRoot, run);
    });
}

void MainWindow::onPlayerButtonClicked()
{
    if (m_hooks.openPlayerWindow) {
        m_hooks.openPlayerWindow(*this);
    }
}

void MainWindow::onThunderMemberButtonClicked()
{}

void MainWindow::onMovieListDoubleClicked()
{
    if (m_list->selectedRow() >= 0 && m_hooks.openDetailWindow) {
        m_hooks.openDetailWindow(*this);
    }
}

void MainWindow::onGlyphStep()
{
    m_spinner->setCaption(glyphText(m_glyphCounter));
    ++m_glyphCounter;
    if (m_glyphCounter > lastGlyph) {
        m_glyphCounter = firstGlyph;
        m_spinner->setCaption(glyphPauseCaption);
        m_pauseTimer->setPeriod(glyphPauseMilliseconds);
        m_stepTimer->setPeriod(0);
    }
}

void MainWindow::onPauseEnded()
{
    m_stepTimer->setPeriod(glyphStepMilliseconds);
    m_pauseTimer->setPeriod(0);
}

} // namespace brisma::app
