#pragma once

#include <QColor>

namespace brisma::skin {

// A recolouring of the skin: hue turned by degrees, saturation and value
// scaled by percent. Zero everywhere leaves every colour as it is.
struct HsvAdjustment
{
    int hue = 0;        // -180..180
    int saturation = 0; // -100..100
    int value = 0;      // -100..100

    // Out-of-range amounts are brought to the nearest end of their range.
    static HsvAdjustment clamped(int hue, int saturation, int value);
};

// Greys keep no hue, so turning the hue leaves them grey; scaling the
// saturation of a grey keeps it grey as well. Alpha is kept; the result
// has 8 bits a component, like the skin's colours.
QColor adjusted(const QColor& colour, const HsvAdjustment& adjustment);

} // namespace brisma::skin
