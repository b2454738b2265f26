#include "app/detail_window.h"

#include "details/detail_loader.h"

#include <QFrame>

namespace brisma::app {
namespace {

// Black on white whatever the skin's colours; without the focus the
// selection is drawn as plain text, so it does not show.
QPalette textBoxColours(QPalette colours)
{
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    return colours;
}

} // namespace

DetailWindow::DetailWindow(const platform::ReportList& movieList, Hosts hosts)
    : m_movieList(&movieList), m_hosts(std::move(hosts))
{
    setObjectName(QStringLiteral("DetailWindow"));
    move(50, 50);
    setFixedSize(781, 555);

    // The box's single-line border is drawn inside its 262 x 400, around
    // the stretched picture.
    auto* posterFrame = new QFrame(this);
    posterFrame->setObjectName(QStringLiteral(u"图片框1"));
    place(*posterFrame, 0, 0, 262, 400);
    posterFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    posterFrame->setLineWidth(1);
    m_posterWidget = new PictureBoxWidget(PictureBoxWidget::Fit::Stretch, posterFrame);
    place(*m_posterWidget, 1, 1, 260, 398);
    m_poster = std::make_unique<QtPictureBox>(m_posterWidget);

    m_synopsisWidget = buildTextBox(u"编辑框1");
    place(*m_synopsisWidget, 262, 0, 512, 400);
    m_synopsisWidget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_synopsisBox = std::make_unique<QtEditBox>(m_synopsisWidget);

    m_linksWidget = buildTextBox(u"编辑框2");
    place(*m_linksWidget, 2, 403, 768, 124);
    m_linksWidget->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_linksBox = std::make_unique<QtEditBox>(m_linksWidget);
}

DetailWindow::~DetailWindow() = default;

QPlainTextEdit* DetailWindow::buildTextBox(const char16_t* formName)
{
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QString::fromUtf16(formName));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFont(formFont(12));
    box->setLineWidth(1);
    box->setPalette(textBoxColours(box->palette()));
    return box;
}

DetailWindow* DetailWindow::open(const platform::ReportList& movieList, const Hosts& hosts)
{
    auto* window = new DetailWindow(movieList, hosts);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->load();
    return window;
}

bool DetailWindow::onCreated()
{
    const details::DetailView view{*m_movieList, *this, *m_poster, *m_synopsisBox, *m_linksBox};
    details::loadDetailWindow(view, m_hosts);
    // The list belongs to the main window, which may go before this one.
    m_movieList = nullptr;
    return true;
}

} // namespace brisma::app
