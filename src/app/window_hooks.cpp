#include "app/window_hooks.h"

#include "app/detail_window.h"
#include "app/main_window.h"
#include "app/player_window.h"
#include "app/qt_toolkit.h"
#include "app/update_check.h"

namespace brisma::app {

MainWindowHooks programHooks(QtToolkit& toolkit, const Hosts& hosts)
{
    MainWindowHooks hooks;
    hooks.checkForUpdate = [&toolkit, hosts] { return CheckForUpdate(toolkit, hosts); };
    hooks.openDetailWindow = [](MainWindow& main) {
        DetailWindow::open(main.movieList(), main.hosts());
    };
    hooks.openPlayerWindow = [&toolkit](MainWindow&) { PlayerWindow::open(toolkit); };
    hooks.loadCategory = catalogue::LoadCategory;
    return hooks;
}

} // namespace brisma::app
