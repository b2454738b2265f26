#pragma once

#include "text/types.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace brisma::app {

// Why a routine of an outside library could not be bound.
enum class BindingFailure
{
    LibraryNotFound, // no loadable file of that name in any searched directory
    RoutineNotFound, // the library is loaded but does not export the routine
};

// An outside library whose routines the program declares by the library's
// file name and binds by name at their first call. The file is looked for in
// each directory in turn; the first copy that loads is used for the rest of
// the run and never unloaded.
class DeclaredLibrary
{
public:
    // Told the library's file name, the routine and why; the program's
    // handler shows the run-time error box and ends the program.
    using FailureHandler =
        std::function<void(const Text& library, const Text& routine, BindingFailure why)>;

    DeclaredLibrary(std::string fileName, std::vector<std::string> directories,
                    FailureHandler onFailure);

    // The routine's address, bound at its first call. Null after the
    // failure handler has run (it returns only in tests).
    void* routine(const std::string& name);

    const std::string& fileName() const { return m_fileName; }

private:
    void* loadLibrary();

    std::string m_fileName;
    std::vector<std::string> m_directories;
    FailureHandler m_onFailure;
    std::mutex m_mutex;
    void* m_handle = nullptr;
    std::map<std::string, void*, std::less<>> m_routines;
};

} // namespace brisma::app
