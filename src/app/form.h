#pragma once

#include "platform/toolkit.h"

#include <QFont>
#include <QWidget>

namespace brisma::app {

// The face the forms are drawn in; see QtToolkit for what stands in for it.
inline constexpr char16_t formFontFace[] = u"微软雅黑";

// The forms' font: "微软雅黑", regular weight, `height` pixels high.
QFont formFont(int height);

// Puts `widget` at `left`, `top` in its parent (or on the screen for a
// window's frame) with the size `width` x `height`.
void place(QWidget& widget, int left, int top, int width, int height);

// A window of the program, built from its form. load() runs the window's
// created handler and then shows it: no owner, not modal, so the window
// that loads it stays usable.
class FormWindow : public QWidget, public platform::Window
{
public:
    // False when the created handler stopped the opening (the program is
    // ending); the window then stays hidden.
    bool load();

    void setCaption(const Text& caption) override;

protected:
    FormWindow();

    // The window's created handler; false stops the opening.
    virtual bool onCreated() { return true; }
};

} // namespace brisma::app
