#pragma once

#include "app/skin_routines.h"
#include "platform/toolkit.h"

#include <string>

namespace brisma::app {

// The name the skin file is written under, beside the skin library.
inline const std::string skinFileName = "win8.she";

// The skin library and skin file the program carries.
Bytes carriedSkinLibrary();
Bytes carriedSkinFile();

// Writes the carried skin library and skin file into `windowsDirectory`,
// replacing whatever is there, and attaches the skin. A file that cannot be
// written is left as it was; binding the skin routines then decides whether
// the program can go on.
void DeploySkin(platform::Toolkit& toolkit, SkinRoutines& skin,
                const std::string& windowsDirectory);

} // namespace brisma::app
