#pragma once

#include "catalogue/load_category.h"
#include "platform/hosts.h"

#include <functional>

namespace brisma::app {

class MainWindow;
class QtToolkit;

// Runs a category load on its worker thread.
using CategoryLoader =
    std::function<void(const catalogue::Category&, const catalogue::CategoryView&,
                       const Text& siteRoot, const catalogue::LoadSequence::Run&)>;

// The steps of MainWindow that other windows and checks provide. An empty
// hook does nothing (an empty check lets the window open).
struct MainWindowHooks
{
    // First step of the window's creation. False when the program is ending
    // and the rest of the creation must not run.
    std::function<bool()> checkForUpdate;
    // 超级列表框1 double-clicked while a row is selected.
    std::function<void(MainWindow&)> openDetailWindow;
    // 超级按钮_免费云播 clicked.
    std::function<void(MainWindow&)> openPlayerWindow;
    // Runs on the worker thread that a category click starts.
    CategoryLoader loadCategory;
};

// The hooks of the real program. The place where the update check, the
// detail window and the player window are plugged into MainWindow.
MainWindowHooks programHooks(QtToolkit& toolkit, const Hosts& hosts);

} // namespace brisma::app
