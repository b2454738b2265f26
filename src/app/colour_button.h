#pragma once

#include "text/types.h"

#include <QPushButton>

namespace brisma::app {

// A flat button in the program's own colours: white text in every state, one
// background colour normally, one with the mouse over it and one while it
// has the input focus. The skin never recolours it.
class ColourButton : public QPushButton
{
public:
    struct Colours
    {
        Rgb normal;
        Rgb hover;
        Rgb focus;
    };

    ColourButton(const Text& caption, const Colours& colours, QWidget* parent = nullptr);

    const Colours& colours() const { return m_colours; }

private:
    Colours m_colours;
};

} // namespace brisma::app
