#pragma once

#include "app/library_binding.h"
#include "platform/toolkit.h"

#include <QMessageBox>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace brisma::app {

// The toolkit's services on Qt. Made on the user-interface thread once the
// QApplication exists; that thread is then the one worker threads' calls
// are carried to.
class QtToolkit : public platform::Toolkit
{
public:
    QtToolkit();
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    int messageBox(const Text& text, int flags) override;
    void startThread(std::function<void()> routine) override;
    Bytes readUrl(const Text& address) override;
    void openInBrowser(const Text& address) override;
    bool writeFile(const std::string& path, const Bytes& contents) override;
    void exitProgram(int code) override;

    // The run-time error box for a routine of an outside library that cannot
    // be bound, then the end of the program with exit code 1.
    void runtimeError(const Text& library, const Text& routine, BindingFailure why);

    // The program's message loop. When it returns, calls from worker threads
    // return at once without effect, and their open message boxes close.
    int runMessageLoop();

    // Set once exitProgram has been called.
    std::optional<int> exitCode() const { return m_exitCode; }
    // Worker threads started here that have not finished yet.
    int runningThreads() const { return m_runningThreads->load(); }

    // How the program ends. The default ends the process at once; tests
    // record the code instead and let the caller stop by itself.
    void setExitHandler(std::function<void(int)> handler);

private:
    int showMessageBoxHere(const Text& text, int flags);
    void openMessageBoxFor(const Text& text, int flags, std::function<void(int)> answer);
    void closeWorkerMessageBoxes();

    std::shared_ptr<std::atomic<int>> m_runningThreads;
    std::optional<int> m_exitCode;
    std::function<void(int)> m_exitHandler;
    std::vector<QPointer<QMessageBox>> m_workerBoxes;
};

// Ends the process now with `code`, without running exit handlers or static
// destructors, which worker threads may still be using.
[[noreturn]] void endProcess(int code);

} // namespace brisma::app
