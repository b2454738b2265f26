#include "app/qt_toolkit.h"

#include "app/file_writer.h"
#include "app/message_box.h"
#include "app/qt_conversions.h"
#include "app/ui_dispatcher.h"
#include "app/url_reader.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFont>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace brisma::app {
namespace {

// The forms ask for "微软雅黑", which Linux machines rarely have; these
// take its place, the first installed one winning.
void installFontFallbacks()
{
    QFont::insertSubstitutions(
        QStringLiteral(u"微软雅黑"),
        {QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
         QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
         QStringLiteral("Droid Sans Fallback")});
}

Text runtimeErrorText(const Text& library, const Text& routine, BindingFailure why)
{
    if (why == BindingFailure::RoutineNotFound) {
        return "动态链接库“" + library + "”中找不到命令“" + routine + "”，程序无法继续运行。";
    }
    return "找不到动态链接库“" + library + "”，无法调用其中的命令“" + routine +
           "”，程序无法继续运行。";
}

} // namespace

void endProcess(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

QtToolkit::QtToolkit()
    : m_runningThreads(std::make_shared<std::atomic<int>>(0)), m_exitHandler(endProcess)
{
    installFontFallbacks();
    UiDispatcher::instance().open();
}

QtToolkit::~QtToolkit()
{
    closeWorkerMessageBoxes();
    UiDispatcher::instance().close();
}

int QtToolkit::messageBox(const Text& text, int flags)
{
    UiDispatcher& dispatcher = UiDispatcher::instance();
    if (dispatcher.onUiThread()) {
        return showMessageBoxHere(text, flags);
    }
    // A worker waits for the answer; the user-interface thread goes on.
    const std::optional<int> answer = dispatcher.await(
        [&](std::function<void(int)> deliver) { openMessageBoxFor(text, flags, deliver); });
    return answer.value_or(platform::AnswerCancel);
}

int QtToolkit::showMessageBoxHere(const Text& text, int flags)
{
    std::unique_ptr<QMessageBox> box(createMessageBox(text, flags));
    box->exec();
    return answerOfClosedBox(*box);
}

void QtToolkit::openMessageBoxFor(const Text& text, int flags, std::function<void(int)> answer)
{
    QMessageBox* box = createMessageBox(text, flags);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, answer] { answer(answerOfClosedBox(*box)); });
    std::erase_if(m_workerBoxes, [](const QPointer<QMessageBox>& open) { return open.isNull(); });
    m_workerBoxes.emplace_back(box);
    box->open();
}

void QtToolkit::closeWorkerMessageBoxes()
{
    for (const QPointer<QMessageBox>& box : m_workerBoxes) {
        if (box) {
            // Going away is no answer: nobody is told of one.
            QObject::disconnect(box.data(), nullptr, nullptr, nullptr);
            delete box.data();
        }
    }
    m_workerBoxes.clear();
}

void QtToolkit::startThread(std::function<void()> routine)
{
    m_runningThreads->fetch_add(1);
    try {
        std::thread([routine = std::move(routine), running = m_runningThreads]() mutable {
            routine();
            routine = nullptr; // whatever it holds goes before the thread counts as done
            running->fetch_sub(1);
        }).detach();
    } catch (...) {
        // The program does not look at whether the thread started.
        m_runningThreads->fetch_sub(1);
    }
}

Bytes QtToolkit::readUrl(const Text& address)
{
    return readUrlIntoBytes(address);
}

void QtToolkit::openInBrowser(const Text& address)
{
    const QUrl url(toQString(address), QUrl::StrictMode);
    // Only web pages: an address handed to the desktop could otherwise open
    // a local file or start a program.
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) {
        return;
    }
    onUiThread([&] { QDesktopServices::openUrl(url); });
}

bool QtToolkit::writeFile(const std::string& path, const Bytes& contents)
{
    return replaceFile(path, contents);
}

void QtToolkit::exitProgram(int code)
{
    m_exitCode = code;
    m_exitHandler(code);
}

void QtToolkit::setExitHandler(std::function<void(int)> handler)
{
    m_exitHandler = std::move(handler);
}

void QtToolkit::runtimeError(const Text& library, const Text& routine, BindingFailure why)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral(u"运行时错误"),
                    toQString(runtimeErrorText(library, routine, why)), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    exitProgram(1);
}

int QtToolkit::runMessageLoop()
{
    const int code = QApplication::exec();
    UiDispatcher::instance().close();
    closeWorkerMessageBoxes();
    return code;
}

} // namespace brisma::app
