#pragma once

#include "app/library_binding.h"
#include "text/types.h"

namespace brisma::app {

// The two routines of the skin library the program calls. Results are
// returned for completeness; the program ignores them.
class SkinRoutines
{
public:
    virtual ~SkinRoutines() = default;

    virtual int attachEx(const Text& skinFile, const Text& reserved) = 0;
    virtual int adjustHSV(int hue, int saturation, int value) = 0;
};

// The file name the skin library is written under and bound by.
inline const std::string skinLibraryFileName = "jedata.dll";

// The skin routines of "jedata.dll", bound at their first call. A routine
// that cannot be bound makes the call return 0 after `library`'s failure
// handler ran.
class BoundSkinRoutines : public SkinRoutines
{
public:
    explicit BoundSkinRoutines(DeclaredLibrary& library);

    int attachEx(const Text& skinFile, const Text& reserved) override;
    int adjustHSV(int hue, int saturation, int value) override;

private:
    DeclaredLibrary& m_library;
};

} // namespace brisma::app
