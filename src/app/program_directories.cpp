#include "app/program_directories.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brisma::app {
namespace {

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

std::string dataHome()
{
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (const char* configured = std::getenv("XDG_DATA_HOME");
        configured != nullptr && configured[0] == '/') {
        return configured;
    }
    return homeDirectory() + "/.local/share";
}

// mkdir -p: every missing directory along the path, owner-only as XDG asks.
void createDirectories(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return;
        }
        if (slash == std::string::npos) {
            return;
        }
    }
}

} // namespace

std::string windowsDirectory()
{
    const std::string directory = dataHome() + "/brisma";
    createDirectories(directory);
    return directory;
}

std::string programDirectory()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return {};
    }
    const std::string executable(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = executable.rfind('/');
    return slash == std::string::npos ? std::string{} : executable.substr(0, slash);
}

} // namespace brisma::app
