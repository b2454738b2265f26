#pragma once

#include "platform/hosts.h"
#include "platform/toolkit.h"

namespace brisma::app {

// The program's own version; the update server must announce exactly this.
inline const Text programVersion = "1";

// Asks the update server for the current version. When it is not this
// program's, tells the user (one to three boxes), opens the download page
// and ends the program with exit code 0. Returns true only when the check
// passed and start-up may go on.
bool CheckForUpdate(platform::Toolkit& toolkit, const Hosts& hosts);

} // namespace brisma::app
