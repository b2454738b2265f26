#include "app/colour_button.h"

#include "app/qt_conversions.h"

namespace brisma::app {
namespace {

// With a background colour alone, Qt still draws the native bevel and
// gradient; a border of the same colour makes it paint the box flat.
QString styleSheetFor(const ColourButton::Colours& colours)
{
    const auto name = [](Rgb colour) { return toQColor(colour).name(QColor::HexRgb); };
    return QStringLiteral(
               "QPushButton { color: #ffffff; background-color: %1; border: 1px solid %1; }"
               " QPushButton:focus { background-color: %3; border-color: %3; }"
               " QPushButton:hover { background-color: %2; border-color: %2; }")
        .arg(name(colours.normal), name(colours.hover), name(colours.focus));
}

} // namespace

ColourButton::ColourButton(const Text& caption, const Colours& colours, QWidget* parent)
    : QPushButton(toQString(caption), parent), m_colours(colours)
{
    setStyleSheet(styleSheetFor(colours));
}

} // namespace brisma::app
