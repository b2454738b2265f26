#include "app/deploy_skin.h"

#include "resources/resources.h"

#include <cstddef>

// The built skin library, embedded by the build.
extern const unsigned char brismaSkinLibrary[];
extern const std::size_t brismaSkinLibrarySize;

namespace brisma::app {

Bytes carriedSkinLibrary()
{
    return Bytes(brismaSkinLibrary, brismaSkinLibrary + brismaSkinLibrarySize);
}

Bytes carriedSkinFile()
{
    return resources::load(skinFileName);
}

void DeploySkin(platform::Toolkit& toolkit, SkinRoutines& skin, const std::string& windowsDirectory)
{
    const std::string skinFile = windowsDirectory + "/" + skinFileName;
    // Each file is replaced, never overwritten in place: another running copy
    // of the program may have the library mapped.
    toolkit.writeFile(windowsDirectory + "/" + skinLibraryFileName, carriedSkinLibrary());
    toolkit.writeFile(skinFile, carriedSkinFile());
    skin.attachEx(skinFile, Text{});
}

} // namespace brisma::app
