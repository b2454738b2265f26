#pragma once

#include "text/types.h"

#include <QColor>
#include <QString>

// Every Text crosses into Qt here, through the code page 936 converter, and
// comes back the same way.
namespace brisma::app {

QString toQString(const Text& text);
Text toText(const QString& text);

QColor toQColor(Rgb colour);
Rgb toRgb(const QColor& colour);

} // namespace brisma::app
