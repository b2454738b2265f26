#pragma once

#include "text/types.h"

namespace brisma::app {

// The code point as Text in code page 936, the way a label is given one
// character. The private-use code points of the glyph font become
// user-defined two-byte codes (U+E052 is AA F3).
Text glyphText(int codePoint);

} // namespace brisma::app
