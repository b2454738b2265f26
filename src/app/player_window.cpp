#include "app/player_window.h"

#include "app/qt_conversions.h"
#include "resources/resources.h"

#include <limits>

namespace brisma::app {
namespace {

const Text windowCaption = "免费在线云播放器";
const Text initialLink = "请在此输入视频链接（thunder、ftp、http、ed2k、magnet、xplan、bt）";
const Text playCaption = "播放";
const Text incompleteEntry = "请输入完整的信息";

constexpr Rgb linkColour = rgb(8, 168, 218);
const ColourButton::Colours playColours{rgb(149, 215, 241), rgb(128, 207, 238), rgb(111, 202, 236)};

// Blue text on white in a one-pixel sunken edge, whatever the skin's colours.
// Without the focus the selection is drawn as plain text, so it does not show.
QString linkBoxStyle()
{
    const QString blue = toQColor(linkColour).name(QColor::HexRgb);
    return QStringLiteral("QLineEdit { color: %1; background-color: #ffffff;"
                          " border: 1px solid; border-color: #a0a0a0 #ffffff #ffffff #a0a0a0;"
                          " padding: 0 2px; }"
                          " QLineEdit:!focus { selection-color: %1;"
                          " selection-background-color: #ffffff; }")
        .arg(blue);
}

} // namespace

PlayerWindow::PlayerWindow(platform::Toolkit& toolkit) : m_toolkit(toolkit)
{
    setObjectName(QStringLiteral("PlayerWindow"));
    setCaption(windowCaption);
    move(50, 50);
    setFixedSize(785, 283);

    m_banner = new PictureBoxWidget(PictureBoxWidget::Fit::Stretch, this);
    m_banner->setObjectName(QStringLiteral(u"图片框1"));
    place(*m_banner, 0, 0, 784, 112);
    m_banner->setPicture(resources::load("player_banner.jpg"));

    m_linkBox = new QLineEdit(toQString(initialLink), this);
    m_linkBox->setObjectName(QStringLiteral(u"编辑框1"));
    place(*m_linkBox, 16, 160, 584, 32);
    m_linkBox->setFont(formFont(12));
    m_linkBox->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Qt stops at 32767 characters by default; links have no limit.
    m_linkBox->setMaxLength(std::numeric_limits<int>::max());
    m_linkBox->setStyleSheet(linkBoxStyle());
    m_linkBox->setCursorPosition(0);

    m_playButton = new ColourButton(playCaption, playColours, this);
    m_playButton->setObjectName(QStringLiteral(u"超级按钮_播放"));
    place(*m_playButton, 608, 160, 160, 32);
    m_playButton->setFont(formFont(14));
    connect(m_playButton, &QPushButton::clicked, this, [this] { onPlayClicked(); });
}

PlayerWindow* PlayerWindow::open(platform::Toolkit& toolkit)
{
    auto* window = new PlayerWindow(toolkit);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->load();
    return window;
}

void PlayerWindow::onPlayClicked()
{
    m_toolkit.messageBox(incompleteEntry, platform::MessageOk);
}

} // namespace brisma::app
