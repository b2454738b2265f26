#pragma once

#include "text/types.h"

#include <functional>
#include <string>

// The window toolkit as the program's routines see it. The program's own
// code talks only to these interfaces; the Qt implementation lives in app/,
// and tests use a recording fake.
//
// Calls marked W may come from a worker thread. Each takes effect as if made
// on the user-interface thread before it returns. Once the message loop has
// returned they return at once and do nothing. Every other call is made on
// the user-interface thread only.
namespace brisma::platform {

// Message box flags, as the program passes them.
enum MessageBoxFlags : int
{
    MessageOk = 0,             // an OK button, no icon
    MessageYesNoQuestion = 36, // Yes and No, question icon
    MessageOkInformation = 64, // an OK button, information icon
};

// What a message box answers.
enum MessageBoxAnswer : int
{
    AnswerOk = 0,
    AnswerCancel = 1,
    AnswerAbort = 2,
    AnswerRetry = 3,
    AnswerIgnore = 4,
    AnswerYes = 5,
    AnswerNo = 6,
};

class ReportList
{
public:
    virtual ~ReportList() = default;

    virtual void deleteAllRows() = 0; // W
    virtual int insertRow() = 0;      // W: 0-based index of the new last row
    virtual void setCell(int row, int column, const Text& text) = 0; // W

    // Empty Text for a row or column that does not exist (also row -1).
    virtual Text cell(int row, int column) const = 0;
    // 0-based index of the first selected row, -1 when none.
    virtual int selectedRow() const = 0;
    virtual int rowCount() const = 0;

    virtual void setTextColour(Rgb colour) = 0;
    virtual void setTextBackgroundColour(Rgb colour) = 0;
    virtual void setBackgroundColour(Rgb colour) = 0;
};

class Label
{
public:
    virtual ~Label() = default;

    virtual void setVisible(bool visible) = 0; // W
    virtual void setCaption(const Text& caption) = 0;
    // Changes the face only; the height and style stay.
    virtual void setFontFaceName(const Text& faceName) = 0;
};

class Timer
{
public:
    virtual ~Timer() = default;

    // 0 stops the timer; a positive period (re)starts it with that period.
    virtual void setPeriod(int milliseconds) = 0;
};

class PictureBox
{
public:
    virtual ~PictureBox() = default;

    virtual void setPicture(const Bytes& picture) = 0;
    // The Bytes last set; empty when empty Bytes were set.
    virtual Bytes picture() const = 0;
};

class EditBox
{
public:
    virtual ~EditBox() = default;

    // Always plain text: nothing is read as markup.
    virtual void setText(const Text& text) = 0;
    // Adds at the end and scrolls there.
    virtual void appendText(const Text& text) = 0;
    virtual Text text() const = 0;
};

class Window
{
public:
    virtual ~Window() = default;

    virtual void setCaption(const Text& caption) = 0;
};

// Services of the toolkit that belong to no window.
class Toolkit
{
public:
    virtual ~Toolkit() = default;

    // W. Caption "信息：", no owner, modal to the program; blocks the calling
    // thread until answered. Returns a MessageBoxAnswer.
    virtual int messageBox(const Text& text, int flags) = 0;

    // Returns at once; nothing waits for the thread.
    virtual void startThread(std::function<void()> routine) = 0;

    // Empty Bytes on any failure.
    virtual Bytes readUrl(const Text& address) = 0;

    virtual void openInBrowser(const Text& address) = 0;

    // Creates or replaces the file. Callers may ignore the result.
    virtual bool writeFile(const std::string& path, const Bytes& contents) = 0;

    // Ends the program with the exit code. A fake may return; callers stop
    // what they were doing when it does.
    virtual void exitProgram(int code) = 0;
};

} // namespace brisma::platform
