#pragma once

#include "platform/toolkit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// The toolkit's simple controls on Qt. Each is safe to call from any thread
// (see platform/toolkit.h) and outlives its widget harmlessly: once the
// widget is gone, calls do nothing.
namespace brisma::app {

// Captions are plain text, never markup.
class QtLabel : public platform::Label
{
public:
    explicit QtLabel(QLabel* label);

    void setVisible(bool visible) override;
    void setCaption(const Text& caption) override;
    void setFontFaceName(const Text& faceName) override;

    // The Text last given as the caption.
    Text caption() const;

private:
    QPointer<QLabel> m_label;
    Text m_caption;
};

class QtTimer : public platform::Timer
{
public:
    explicit QtTimer(QTimer* timer);

    void setPeriod(int milliseconds) override;
    // 0 while stopped.
    int period() const;

private:
    QPointer<QTimer> m_timer;
};

// A single-line (QLineEdit) or multi-line (QPlainTextEdit) edit box.
class QtEditBox : public platform::EditBox
{
public:
    explicit QtEditBox(QLineEdit* edit);
    explicit QtEditBox(QPlainTextEdit* edit);

    void setText(const Text& text) override;
    void appendText(const Text& text) override;
    Text text() const override;

private:
    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_lines;
};

class QtWindow : public platform::Window
{
public:
    explicit QtWindow(QWidget* window);

    void setCaption(const Text& caption) override;

private:
    QPointer<QWidget> m_window;
};

} // namespace brisma::app
