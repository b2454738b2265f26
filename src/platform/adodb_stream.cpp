#include "platform/com.h"

namespace brisma::platform::com {

// Placeholder until the stream object is written.
std::shared_ptr<AutomationObject> makeAdodbStream()
{
    return nullptr;
}

} // namespace brisma::platform::com
