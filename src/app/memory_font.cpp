#include "app/memory_font.h"

#include <QByteArray>
#include <QFontDatabase>

namespace brisma::app {

// Qt numbers application fonts from 0 and answers -1 for failure; handles
// are those numbers plus one, so that 0 can mean "none" as callers expect.
FontHandle addFontMemResource(const Bytes& font)
{
    const int id = QFontDatabase::addApplicationFontFromData(QByteArray(
        reinterpret_cast<const char*>(font.data()), static_cast<qsizetype>(font.size())));
    return id < 0 ? 0 : id + 1;
}

void removeFontMemResource(FontHandle handle)
{
    if (handle > 0) {
        QFontDatabase::removeApplicationFont(handle - 1);
    }
}

} // namespace brisma::app
