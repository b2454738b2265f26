#include "app/library_binding.h"

#include <dlfcn.h>
#include <unistd.h>

namespace brisma::app {

DeclaredLibrary::DeclaredLibrary(std::string fileName, std::vector<std::string> directories,
                                 FailureHandler onFailure)
    : m_fileName(std::move(fileName)), m_directories(std::move(directories)),
      m_onFailure(std::move(onFailure))
{}

void* DeclaredLibrary::loadLibrary()
{
    for (const std::string& directory : m_directories) {
        if (directory.empty()) {
            continue;
        }
        const std::string path = directory + "/" + m_fileName;
        if (::access(path.c_str(), R_OK) != 0) {
            continue;
        }
        if (void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            return handle;
        }
    }
    return nullptr;
}

void* DeclaredLibrary::routine(const std::string& name)
{
    BindingFailure failure = BindingFailure::LibraryNotFound;
    {
        std::lock_guard lock(m_mutex);
        if (const auto bound = m_routines.find(name); bound != m_routines.end()) {
            return bound->second;
        }
        if (m_handle == nullptr) {
            m_handle = loadLibrary();
        }
        if (m_handle != nullptr) {
            if (void* address = ::dlsym(m_handle, name.c_str())) {
                m_routines.emplace(name, address);
                return address;
            }
            failure = BindingFailure::RoutineNotFound;
        }
    }
    // Outside the lock: the handler shows a box and may run other handlers.
    if (m_onFailure) {
        m_onFailure(m_fileName, name, failure);
    }
    return nullptr;
}

} // namespace brisma::app
