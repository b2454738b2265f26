#include "skin_engine.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

namespace brisma::skin {

const PaletteRoleName paletteRoleNames[19] = {
    {u"window", QPalette::Window},
    {u"window-text", QPalette::WindowText},
    {u"base", QPalette::Base},
    {u"alternate-base", QPalette::AlternateBase},
    {u"text", QPalette::Text},
    {u"button", QPalette::Button},
    {u"button-text", QPalette::ButtonText},
    {u"bright-text", QPalette::BrightText},
    {u"highlight", QPalette::Highlight},
    {u"highlighted-text", QPalette::HighlightedText},
    {u"tooltip-base", QPalette::ToolTipBase},
    {u"tooltip-text", QPalette::ToolTipText},
    {u"link", QPalette::Link},
    {u"link-visited", QPalette::LinkVisited},
    {u"placeholder-text", QPalette::PlaceholderText},
    {u"light", QPalette::Light},
    {u"midlight", QPalette::Midlight},
    {u"mid", QPalette::Mid},
    {u"dark", QPalette::Dark},
};

QPalette skinPalette(const SkinDescription& skin, const HsvAdjustment& adjustment)
{
    QPalette palette;
    for (const PaletteRoleName& entry : paletteRoleNames) {
        if (const auto colour = skin.colour(QString::fromUtf16(entry.name))) {
            palette.setColor(entry.role, adjusted(*colour, adjustment));
        }
    }
    if (const auto shadow = skin.colour(QStringLiteral("shadow"))) {
        palette.setColor(QPalette::Shadow, adjusted(*shadow, adjustment));
    }
    if (const auto muted = skin.colour(QStringLiteral("placeholder-text"))) {
        const QColor disabled = adjusted(*muted, adjustment);
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(QPalette::Disabled, role, disabled);
        }
    }
    return palette;
}

QString skinStyleSheet(const SkinDescription& skin, const HsvAdjustment& adjustment)
{
    QString sheet = skin.styleTemplate;
    for (const auto& [name, colour] : skin.colours) {
        sheet.replace(u'@' + name + u'@', adjusted(colour, adjustment).name(QColor::HexRgb));
    }
    return sheet;
}

bool onApplicationThread()
{
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    return application != nullptr && QThread::currentThread() == application->thread();
}

SkinEngine& SkinEngine::instance()
{
    static SkinEngine engine;
    return engine;
}

bool SkinEngine::attach(const char* skinFile)
{
    std::optional<SkinDescription> skin = loadSkinFile(skinFile);
    if (!skin) {
        return false;
    }
    m_skin = std::move(skin);
    if (!m_skin->styleName.isEmpty()) {
        // The style goes first: setting it resets the application palette.
        if (QStyle* style = QStyleFactory::create(m_skin->styleName)) {
            QApplication::setStyle(style);
        }
    }
    apply(HsvAdjustment{});
    return true;
}

bool SkinEngine::adjust(const HsvAdjustment& adjustment)
{
    if (!m_skin) {
        return false;
    }
    apply(adjustment);
    return true;
}

void SkinEngine::apply(const HsvAdjustment& adjustment)
{
    QApplication::setPalette(skinPalette(*m_skin, adjustment));
    qApp->setStyleSheet(skinStyleSheet(*m_skin, adjustment));
}

} // namespace brisma::skin
