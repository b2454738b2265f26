#include "app/qt_conversions.h"

#include "platform/codepage.h"

namespace brisma::app {

QString toQString(const Text& text)
{
    return QString::fromStdU16String(platform::gbkToUtf16(text));
}

QString toEditBoxLines(const Text& text)
{
    // CR and LF are never the second byte of a GBK character, so a byte
    // scan is safe here.
    Text lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines += '\n';
            ++i;
        } else if (byte != '\r' && byte != '\n') {
            lines += byte;
        }
    }
    return toQString(lines);
}

Text fromEditBoxLines(const QString& lines)
{
    QString crlf = lines;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return toText(crlf);
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
