#include "app/qt_conversions.h"

#include "platform/codepage.h"

namespace brisma::app {

QString toQString(const Text& text)
{
    return QString::fromStdU16String(platform::gbkToUtf16(text));
}

Text toText(const QString& text)
{
    return platform::utf16ToGbk(text.toStdU16String());
}

QColor toQColor(Rgb colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

Rgb toRgb(const QColor& colour)
{
    const QColor rgbColour = colour.toRgb();
    return rgb(rgbColour.red(), rgbColour.green(), rgbColour.blue());
}

} // namespace brisma::app
