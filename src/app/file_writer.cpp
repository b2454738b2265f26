#include "app/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brisma::app {
namespace {

bool writeAll(int descriptor, const Bytes& contents)
{
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t result =
            ::write(descriptor, contents.data() + written, contents.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

// mkstemp makes the file private to its owner; the program's files are
// readable by everyone, as a file written in place would be.
constexpr mode_t fileMode = 0644;

} // namespace

bool replaceFile(const std::string& path, const Bytes& contents)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
        return false;
    }
    temporary.assign(name.data());
    const bool written = ::fchmod(descriptor, fileMode) == 0 && writeAll(descriptor, contents) &&
                         ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace brisma::app
