#include "app/controls.h"

#include "app/qt_conversions.h"
#include "app/ui_dispatcher.h"

#include <QScrollBar>
#include <QTextCursor>

namespace brisma::app {

QtLabel::QtLabel(QLabel* label) : m_label(label)
{
    onWidget(m_label, [](QLabel& widget) { widget.setTextFormat(Qt::PlainText); });
}

void QtLabel::setVisible(bool visible)
{
    onWidget(m_label, [&](QLabel& widget) { widget.setVisible(visible); });
}

void QtLabel::setCaption(const Text& caption)
{
    onWidget(m_label, [&](QLabel& widget) {
        m_caption = caption;
        widget.setText(toQString(caption));
    });
}

void QtLabel::setFontFaceName(const Text& faceName)
{
    onWidget(m_label, [&](QLabel& widget) {
        QFont font = widget.font();
        font.setFamilies({toQString(faceName)});
        widget.setFont(font);
    });
}

Text QtLabel::caption() const
{
    return onWidget(Text{}, m_label, [&](QLabel&) { return m_caption; });
}

QtTimer::QtTimer(QTimer* timer) : m_timer(timer)
{}

void QtTimer::setPeriod(int milliseconds)
{
    onWidget(m_timer, [&](QTimer& timer) {
        if (milliseconds <= 0) {
            timer.stop();
        } else {
            timer.start(milliseconds);
        }
    });
}

int QtTimer::period() const
{
    return onWidget(0, m_timer,
                    [](QTimer& timer) { return timer.isActive() ? timer.interval() : 0; });
}

QtEditBox::QtEditBox(QLineEdit* edit) : m_line(edit)
{}

QtEditBox::QtEditBox(QPlainTextEdit* edit) : m_lines(edit)
{}

void QtEditBox::setText(const Text& text)
{
    onWidget(m_line, [&](QLineEdit& edit) { edit.setText(toQString(text)); });
    onWidget(m_lines, [&](QPlainTextEdit& edit) { edit.setPlainText(toEditBoxLines(text)); });
}

void QtEditBox::appendText(const Text& text)
{
    onWidget(m_line, [&](QLineEdit& edit) {
        edit.setText(edit.text() + toQString(text));
        edit.end(false);
    });
    onWidget(m_lines, [&](QPlainTextEdit& edit) {
        edit.moveCursor(QTextCursor::End);
        edit.insertPlainText(toEditBoxLines(text));
        edit.moveCursor(QTextCursor::End);
        edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
    });
}

Text QtEditBox::text() const
{
    return onUiThread(Text{}, [&] {
        if (m_line) {
            return toText(m_line->text());
        }
        return m_lines ? fromEditBoxLines(m_lines->toPlainText()) : Text{};
    });
}

QtWindow::QtWindow(QWidget* window) : m_window(window)
{}

void QtWindow::setCaption(const Text& caption)
{
    onWidget(m_window, [&](QWidget& window) { window.setWindowTitle(toQString(caption)); });
}

} // namespace brisma::app
