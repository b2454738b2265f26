#include "hsv_adjustment.h"

#include <algorithm>
#include <cmath>

namespace brisma::skin {
namespace {

double scaled(double component, int percent)
{
    return std::clamp(component * (1.0 + percent / 100.0), 0.0, 1.0);
}

} // namespace

HsvAdjustment HsvAdjustment::clamped(int hue, int saturation, int value)
{
    return {std::clamp(hue, -180, 180), std::clamp(saturation, -100, 100),
            std::clamp(value, -100, 100)};
}

QColor adjusted(const QColor& colour, const HsvAdjustment& adjustment)
{
    float hue = 0;
    float saturation = 0;
    float value = 0;
    float alpha = 0;
    colour.toHsv().getHsvF(&hue, &saturation, &value, &alpha);
    // An achromatic colour reports hue -1: there is nothing to turn.
    if (hue >= 0) {
        double turned = std::fmod(hue * 360.0 + adjustment.hue, 360.0);
        if (turned < 0) {
            turned += 360.0;
        }
        hue = static_cast<float>(turned / 360.0);
    }
    const QColor result =
        QColor::fromHsvF(hue, static_cast<float>(scaled(saturation, adjustment.saturation)),
                         static_cast<float>(scaled(value, adjustment.value)), alpha);
    // Skins are written in 8-bit colours; the result is one as well.
    return QColor::fromRgba(result.rgba());
}

} // namespace brisma::skin
