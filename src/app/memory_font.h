#pragma once

#include "text/types.h"

namespace brisma::app {

// A font installed from memory for this process only, by the handle that
// removes it again. 0 means nothing was installed.
using FontHandle = int;

// Installs the TrueType font in `font` for this process; 0 when it cannot.
FontHandle addFontMemResource(const Bytes& font);

// Removes a font installed by addFontMemResource; does nothing for 0.
void removeFontMemResource(FontHandle handle);

} // namespace brisma::app
