#include "platform/com.h"

#include <mutex>
#include <set>
#include <string>

namespace brisma::platform::com {
namespace {

thread_local int t_initialisations = 0;

std::mutex g_failureMutex;
std::multiset<std::string, std::less<>> g_failingProgIds;

bool creationMadeToFail(std::string_view progId)
{
    std::lock_guard lock(g_failureMutex);
    return g_failingProgIds.find(progId) != g_failingProgIds.end();
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

long CoInitialize(void*)
{
    return t_initialisations++ == 0 ? S_OK_ : S_FALSE_;
}

void CoUninitialize()
{
    if (t_initialisations > 0) {
        --t_initialisations;
    }
}

int initialisationCount()
{
    return t_initialisations;
}

std::shared_ptr<AutomationObject> CreateObject(std::string_view progId)
{
    if (t_initialisations == 0 || creationMadeToFail(progId)) {
        return nullptr;
    }
    // ProgIDs are not case-sensitive on Windows.
    if (equalsIgnoringCase(progId, "Adodb.Stream")) {
        return makeAdodbStream();
    }
    if (equalsIgnoringCase(progId, "VBScript.RegExp")) {
        return makeVBScriptRegExp();
    }
    return nullptr;
}

ScopedCreationFailure::ScopedCreationFailure(std::string_view progId) : m_progId(progId)
{
    std::lock_guard lock(g_failureMutex);
    g_failingProgIds.emplace(progId);
}

ScopedCreationFailure::~ScopedCreationFailure()
{
    std::lock_guard lock(g_failureMutex);
    auto it = g_failingProgIds.find(m_progId);
    if (it != g_failingProgIds.end()) {
        g_failingProgIds.erase(it);
    }
}

} // namespace brisma::platform::com
