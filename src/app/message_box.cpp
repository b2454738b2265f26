#include "app/message_box.h"

#include "app/qt_conversions.h"
#include "platform/toolkit.h"

namespace brisma::app {
namespace {

QMessageBox::StandardButtons buttonsFor(int flags)
{
    switch (flags & 0x0F) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case 2:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
        return QMessageBox::Yes | QMessageBox::No;
    case 5:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(int flags)
{
    switch (flags & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QMessageBox* createMessageBox(const Text& text, int flags)
{
    auto* box = new QMessageBox(iconFor(flags), QString::fromUtf16(messageBoxCaption),
                                toQString(text), buttonsFor(flags));
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    // Escape and the close button answer as the box's way out would.
    for (QMessageBox::StandardButton way :
         {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (QAbstractButton* button = box->button(way)) {
            box->setEscapeButton(button);
            break;
        }
    }
    return box;
}

int answerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return platform::AnswerCancel;
    case QMessageBox::Abort:
        return platform::AnswerAbort;
    case QMessageBox::Retry:
        return platform::AnswerRetry;
    case QMessageBox::Ignore:
        return platform::AnswerIgnore;
    case QMessageBox::Yes:
        return platform::AnswerYes;
    case QMessageBox::No:
        return platform::AnswerNo;
    default:
        return platform::AnswerOk;
    }
}

int answerOfClosedBox(QMessageBox& box)
{
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        clicked = box.escapeButton();
    }
    if (clicked == nullptr) {
        return platform::AnswerOk;
    }
    return answerFor(box.standardButton(clicked));
}

} // namespace brisma::app
