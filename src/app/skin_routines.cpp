#include "app/skin_routines.h"

#include "skin/skin_api.h"

namespace brisma::app {

BoundSkinRoutines::BoundSkinRoutines(DeclaredLibrary& library) : m_library(library)
{}

int BoundSkinRoutines::attachEx(const Text& skinFile, const Text& reserved)
{
    auto* routine = reinterpret_cast<SkinHAttachExRoutine>(m_library.routine("SkinH_AttachEx"));
    return routine != nullptr ? routine(skinFile.c_str(), reserved.c_str()) : 0;
}

int BoundSkinRoutines::adjustHSV(int hue, int saturation, int value)
{
    auto* routine = reinterpret_cast<SkinHAdjustHsvRoutine>(m_library.routine("SkinH_AdjustHSV"));
    return routine != nullptr ? routine(hue, saturation, value) : 0;
}

} // namespace brisma::app
