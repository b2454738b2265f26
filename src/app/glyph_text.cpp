#include "app/glyph_text.h"

#include "platform/codepage.h"

namespace brisma::app {

Text glyphText(int codePoint)
{
    const std::u16string unit(1, static_cast<char16_t>(codePoint));
    return platform::utf16ToGbk(unit);
}

} // namespace brisma::app
