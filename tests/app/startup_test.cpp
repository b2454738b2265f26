#include "app/deploy_skin.h"
#include "app/library_binding.h"
#include "app/program_directories.h"
#include "app/startup.h"
#include "app_test_support.h"
#include "hsv_adjustment.h"
#include "skin_file.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace brisma;
using namespace brisma::app;

namespace {

std::string asString(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(CarriedSkin, LibraryAndSkinFileAreThere)
{
    const Bytes library = carriedSkinLibrary();
    ASSERT_GT(library.size(), 4u);
    EXPECT_EQ(asString(Bytes(library.begin(), library.begin() + 4)), "\x7f"
                                                                     "ELF");
    EXPECT_EQ(asString(carriedSkinFile()).substr(0, 4), ".SHE");
}

TEST(DeploySkin, ReplacesExistingFilesByteForByteAndAttaches)
{
    test::TemporaryFolder folder;
    const std::string library = folder.path() + "/jedata.dll";
    const std::string skinFile = folder.path() + "/win8.she";
    test::writeTextFile(library, std::string(200000, 'x'));
    test::writeTextFile(skinFile,
                        ".SHE an older skin, much longer than ours" + std::string(9000, 'y'));
    // A running copy of the program has the old library open; it must keep it.
    const int runningCopy = ::open(library.c_str(), O_RDONLY);
    ASSERT_GE(runningCopy, 0);

    test::TestToolkit toolkit;
    test::RecordingSkin skin;
    DeploySkin(toolkit, skin, folder.path());

    EXPECT_EQ(test::readFile(library), asString(carriedSkinLibrary()));
    EXPECT_EQ(test::readFile(skinFile), asString(carriedSkinFile()));
    const auto attaches = skin.attaches();
    ASSERT_EQ(attaches.size(), 1u);
    EXPECT_EQ(attaches[0].first, skinFile);
    EXPECT_EQ(attaches[0].second, "");
    char first = 0;
    EXPECT_EQ(::read(runningCopy, &first, 1), 1);
    EXPECT_EQ(first, 'x');
    ::close(runningCopy);
}

TEST(WindowsDirectory, IsMadeUnderXdgDataHome)
{
    test::TemporaryFolder folder;
    const test::ScopedEnvironment dataHome("XDG_DATA_HOME", folder.path() + "/deep/data");
    const std::string directory = windowsDirectory();
    EXPECT_EQ(directory, folder.path() + "/deep/data/brisma");
    EXPECT_TRUE(std::filesystem::is_directory(directory));
}

TEST(WindowsDirectory, FallsBackToHomeForARelativeXdgDataHome)
{
    test::TemporaryFolder folder;
    const test::ScopedEnvironment home("HOME", folder.path());
    const test::ScopedEnvironment dataHome("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(windowsDirectory(), folder.path() + "/.local/share/brisma");
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() + "/.local/share/brisma"));
}

// Copies the built skin library into `directory` under the program's name.
void putSkinLibrary(const std::string& directory)
{
    std::filesystem::create_directories(directory);
    std::filesystem::copy_file(BRISMA_SKIN_LIBRARY, directory + "/jedata.dll",
                               std::filesystem::copy_options::overwrite_existing);
}

std::string fileOf(void* routine)
{
    Dl_info info{};
    return ::dladdr(routine, &info) != 0 && info.dli_fname != nullptr ? info.dli_fname : "";
}

struct Failure
{
    Text library;
    Text routine;
    BindingFailure why;
};

TEST(DeclaredLibrary, SearchesTheDirectoriesInOrder)
{
    test::TemporaryFolder folder;
    const std::string empty = folder.path() + "/empty";
    const std::string second = folder.path() + "/second";
    const std::string third = folder.path() + "/third";
    std::filesystem::create_directories(empty);
    putSkinLibrary(second);
    putSkinLibrary(third);
    std::vector<Failure> failures;
    DeclaredLibrary library("jedata.dll", {empty, second, third},
                            [&](const Text& l, const Text& r, BindingFailure why) {
                                failures.push_back({l, r, why});
                            });
    void* attach = library.routine("SkinH_AttachEx");
    ASSERT_NE(attach, nullptr);
    EXPECT_EQ(fileOf(attach), second + "/jedata.dll");
    EXPECT_EQ(library.routine("SkinH_AttachEx"), attach);
    EXPECT_NE(library.routine("SkinH_AdjustHSV"), nullptr);
    EXPECT_TRUE(failures.empty());
}

TEST(DeclaredLibrary, AMissingLibraryOrRoutineIsReportedByName)
{
    test::TemporaryFolder folder;
    putSkinLibrary(folder.path() + "/has");
    std::vector<Failure> failures;
    const auto record = [&](const Text& l, const Text& r, BindingFailure why) {
        failures.push_back({l, r, why});
    };
    DeclaredLibrary missing("jedata.dll", {folder.path() + "/none", ""}, record);
    EXPECT_EQ(missing.routine("SkinH_AttachEx"), nullptr);
    DeclaredLibrary present("jedata.dll", {folder.path() + "/has"}, record);
    EXPECT_EQ(present.routine("SkinH_Detach"), nullptr);

    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].library, "jedata.dll");
    EXPECT_EQ(failures[0].routine, "SkinH_AttachEx");
    EXPECT_EQ(failures[0].why, BindingFailure::LibraryNotFound);
    EXPECT_EQ(failures[1].routine, "SkinH_Detach");
    EXPECT_EQ(failures[1].why, BindingFailure::RoutineNotFound);
}

MainWindowHooks quietHooks()
{
    MainWindowHooks hooks;
    hooks.checkForUpdate = [] { return true; };
    return hooks;
}

bool aMainWindowExists()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("MainWindow")) {
            return true;
        }
    }
    return false;
}

TEST(Startup, DeploysTheSkinAndOpensTheMainWindow)
{
    test::TemporaryFolder folder;
    const test::ScopedEnvironment dataHome("XDG_DATA_HOME", folder.path());
    test::TestToolkit toolkit;
    const std::string windows = windowsDirectory();
    DeclaredLibrary library(
        skinLibraryFileName, {programDirectory(), windows},
        [&](const Text& l, const Text& r, BindingFailure why) { toolkit.runtimeError(l, r, why); });
    BoundSkinRoutines skinRoutines(library);

    std::unique_ptr<MainWindow> window =
        startProgram(toolkit, skinRoutines, windows, Hosts::build(), quietHooks());

    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(toolkit.exitCode().has_value());
    EXPECT_EQ(test::readFile(windows + "/jedata.dll"), asString(carriedSkinLibrary()));
    // Attached, and tinted by the window's creation.
    const Bytes carried = carriedSkinFile();
    const auto skin = skin::parseSkinFile(
        std::string_view(reinterpret_cast<const char*>(carried.data()), carried.size()));
    ASSERT_TRUE(skin.has_value());
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              skin::adjusted(*skin->colour(QStringLiteral("window")), {120, 90, 40}));
}

TEST(Startup, EndsWithTheRuntimeErrorWhenNoSkinLibraryCanBeHad)
{
    test::TemporaryFolder folder;
    // A file where the data folder should be: nothing can be made or written
    // below it, whoever runs the test.
    test::writeTextFile(folder.path() + "/data", "not a folder");
    const test::ScopedEnvironment dataHome("XDG_DATA_HOME", folder.path() + "/data");
    test::TestToolkit toolkit;
    const std::string windows = windowsDirectory();
    DeclaredLibrary library(
        skinLibraryFileName, {programDirectory(), windows},
        [&](const Text& l, const Text& r, BindingFailure why) { toolkit.runtimeError(l, r, why); });
    BoundSkinRoutines skin(library);

    QString shown;
    bool mainWindowWhileBoxShown = true;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        if (QMessageBox* box = test::visibleMessageBox()) {
            shown = box->text();
            mainWindowWhileBoxShown = aMainWindowExists();
            poll->deleteLater();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll->start(5);

    std::unique_ptr<MainWindow> window =
        startProgram(toolkit, skin, windows, Hosts::build(), quietHooks());

    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(aMainWindowExists());
    EXPECT_FALSE(mainWindowWhileBoxShown);
    EXPECT_EQ(toolkit.exitCode(), 1);
    EXPECT_TRUE(shown.contains(u"jedata.dll")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"SkinH_AttachEx")) << shown.toStdString();
    EXPECT_FALSE(std::filesystem::exists(windows));
}

TEST(Startup, EndsBeforeTheWindowShowsWhenTheUpdateCheckSaysSo)
{
    test::TestToolkit toolkit;
    test::RecordingSkin skin;
    test::TemporaryFolder folder;
    MainWindowHooks hooks;
    hooks.checkForUpdate = [&] {
        toolkit.exitProgram(0);
        return false;
    };
    std::unique_ptr<MainWindow> window =
        startProgram(toolkit, skin, folder.path(), Hosts::build(), std::move(hooks));
    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(aMainWindowExists());
    EXPECT_EQ(toolkit.exitCode(), 0);
    EXPECT_EQ(skin.tints().size(), 0u);
}

} // namespace
