#pragma once

#include "app/main_window.h"
#include "app/qt_toolkit.h"
#include "app/skin_routines.h"
#include "app/window_hooks.h"
#include "platform/hosts.h"

#include <memory>
#include <string>

namespace brisma::app {

// Start-up up to the message loop, after the toolkit's set-up: deploys and
// attaches the skin, then loads MainWindow. Nothing when the program ended
// on the way (a skin routine that cannot be bound, a failed update check).
std::unique_ptr<MainWindow> startProgram(QtToolkit& toolkit, SkinRoutines& skin,
                                         const std::string& windowsDirectory, const Hosts& hosts,
                                         MainWindowHooks hooks);

// The whole program: set-up, start-up, the message loop and the end.
int runProgram(int argc, char** argv);

} // namespace brisma::app
