#pragma once

#include <string>

namespace brisma::app {

// Where the program puts the files that Windows keeps in its own directory:
// $XDG_DATA_HOME/brisma, or ~/.local/share/brisma when XDG_DATA_HOME is not
// set to an absolute path. Created when missing; when that fails the path
// is still returned and writing there simply fails.
std::string windowsDirectory();

// The directory of the running executable; empty when it cannot be told.
std::string programDirectory();

} // namespace brisma::app
