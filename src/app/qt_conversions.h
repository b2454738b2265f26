#pragma once

#include "text/types.h"

#include <QColor>
#include <QString>

// Every Text crosses into Qt here, through the code page 936 converter, and
// comes back the same way.
namespace brisma::app {

QString toQString(const Text& text);
Text toText(const QString& text);

// Multi-line edit boxes break lines at CR LF only, as the program's texts
// expect: a CR or LF standing alone starts no line and shows nothing.
// Synopses keep the page's own LF behind each CR LF, which would otherwise
// show as a blank line.
QString toEditBoxLines(const Text& text);
// The box's lines back as Text, each line break as CR LF.
Text fromEditBoxLines(const QString& lines);

QColor toQColor(Rgb colour);
Rgb toRgb(const QColor& colour);

} // namespace brisma::app
