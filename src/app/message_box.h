#pragma once

#include "text/types.h"

#include <QMessageBox>

namespace brisma::app {

// The caption every message box of the program carries.
inline constexpr char16_t messageBoxCaption[] = u"信息：";

// A message box as the program asks for it: no owner, modal to the whole
// program, plain text, with the buttons and icon that `flags` give in the
// Windows way (low four bits the buttons, the next four the icon).
QMessageBox* createMessageBox(const Text& text, int flags);

// What the program is told for the button that closed the box: 0 OK,
// 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
int answerFor(QMessageBox::StandardButton button);

// The answer of a box that closed without a button press it knows.
int answerOfClosedBox(QMessageBox& box);

} // namespace brisma::app
