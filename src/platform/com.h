#pragma once

#include <memory>
#include <string>
#include <string_view>

// The parts of COM the program relies on: initialisation counted per thread,
// and automation objects created by their ProgID. Creating an object on a
// thread that has not initialised COM fails, as it does on Windows.
namespace brisma::platform::com {

constexpr long S_OK_ = 0;    // first initialisation on this thread
constexpr long S_FALSE_ = 1; // already initialised; still needs its CoUninitialize

long CoInitialize(void* reserved = nullptr);
void CoUninitialize();

// How many CoInitialize calls on the calling thread are not yet undone.
int initialisationCount();

// Base of every automation object; members are reached through the
// object's own class after CreateObjectAs.
class AutomationObject
{
public:
    virtual ~AutomationObject() = default;
};

// The object registered under progId ("Adodb.Stream", "VBScript.RegExp"),
// or null: unknown ProgID, COM not initialised on this thread, or creation
// made to fail by a test.
std::shared_ptr<AutomationObject> CreateObject(std::string_view progId);

template <class T> std::shared_ptr<T> CreateObjectAs(std::string_view progId)
{
    return std::dynamic_pointer_cast<T>(CreateObject(progId));
}

// While alive, creating objects of this ProgID fails on every thread, as on
// a machine where the class is not registered. For tests.
class ScopedCreationFailure
{
public:
    explicit ScopedCreationFailure(std::string_view progId);
    ~ScopedCreationFailure();
    ScopedCreationFailure(const ScopedCreationFailure&) = delete;
    ScopedCreationFailure& operator=(const ScopedCreationFailure&) = delete;

private:
    std::string m_progId;
};

// Factories of the known classes, each defined beside its class.
std::shared_ptr<AutomationObject> makeAdodbStream();
std::shared_ptr<AutomationObject> makeVBScriptRegExp();

} // namespace brisma::platform::com
