#include "app/startup.h"

#include "app/deploy_skin.h"
#include "app/program_directories.h"

#include <QApplication>

namespace brisma::app {

std::unique_ptr<MainWindow> startProgram(QtToolkit& toolkit, SkinRoutines& skin,
                                         const std::string& windowsDirectory, const Hosts& hosts,
                                         MainWindowHooks hooks)
{
    DeploySkin(toolkit, skin, windowsDirectory);
    if (toolkit.exitCode()) {
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(toolkit, skin, hosts, std::move(hooks));
    if (!window->load()) {
        return nullptr;
    }
    return window;
}

int runProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    QtToolkit toolkit;
    const Hosts hosts = Hosts::build();
    const std::string windows = windowsDirectory();
    DeclaredLibrary skinLibrary(
        skinLibraryFileName, {programDirectory(), windows},
        [&toolkit](const Text& library, const Text& routine, BindingFailure why) {
            toolkit.runtimeError(library, routine, why);
        });
    BoundSkinRoutines skin(skinLibrary);

    std::unique_ptr<MainWindow> window =
        startProgram(toolkit, skin, windows, hosts, programHooks(toolkit, hosts));
    if (!window) {
        return toolkit.exitCode().value_or(0);
    }
    toolkit.runMessageLoop();
    window.reset();
    if (toolkit.runningThreads() > 0) {
        // A load still waiting for the network must not meet the program's
        // static data being torn down.
        endProcess(0);
    }
    return 0;
}

} // namespace brisma::app
