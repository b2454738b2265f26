#include "skin_api.h"
#include "skin_engine.h"

// Only these two names leave the library; everything else is hidden.
#define BRISMA_SKIN_EXPORT __attribute__((visibility("default")))

extern "C" BRISMA_SKIN_EXPORT int SkinH_AttachEx(const char* skinFile, const char* /*reserved*/)
{
    using brisma::skin::SkinEngine;
    if (!brisma::skin::onApplicationThread()) {
        return 0;
    }
    return SkinEngine::instance().attach(skinFile) ? 1 : 0;
}

extern "C" BRISMA_SKIN_EXPORT int SkinH_AdjustHSV(int hue, int saturation, int value)
{
    using namespace brisma::skin;
    if (!onApplicationThread()) {
        return 0;
    }
    return SkinEngine::instance().adjust(HsvAdjustment::clamped(hue, saturation, value)) ? 1 : 0;
}
