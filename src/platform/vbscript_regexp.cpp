#include "platform/com.h"

namespace brisma::platform::com {

// Placeholder until the regular-expression object is written.
std::shared_ptr<AutomationObject> makeVBScriptRegExp()
{
    return nullptr;
}

} // namespace brisma::platform::com
