#include "app/form.h"

#include "app/qt_conversions.h"

namespace brisma::app {

QFont formFont(int height)
{
    QFont font(QString::fromUtf16(formFontFace));
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    return font;
}

void place(QWidget& widget, int left, int top, int width, int height)
{
    widget.move(left, top);
    widget.resize(width, height);
}

FormWindow::FormWindow() : QWidget(nullptr)
{}

bool FormWindow::load()
{
    if (!onCreated()) {
        return false;
    }
    show();
    return true;
}

void FormWindow::setCaption(const Text& caption)
{
    setWindowTitle(toQString(caption));
}

} // namespace brisma::app
