#include "app/update_check.h"

namespace brisma::app {
namespace {

const Text newVersionFound = "系统发现最新版本，请下载最新的版本。";
const Text notTheLatestVersion = "当前不是最新版本，请下载最新的版本。";
const Text versionRetired = "很抱歉，当前版本已失效停用，请下载最新版本使用。";

// The user may decline twice; every answer ends at the download page.
void askUserToUpdate(platform::Toolkit& toolkit)
{
    if (toolkit.messageBox(newVersionFound, platform::MessageYesNoQuestion) ==
        platform::AnswerYes) {
        return;
    }
    if (toolkit.messageBox(notTheLatestVersion, platform::MessageYesNoQuestion) ==
        platform::AnswerYes) {
        return;
    }
    toolkit.messageBox(versionRetired, platform::MessageOkInformation);
}

} // namespace

bool CheckForUpdate(platform::Toolkit& toolkit, const Hosts& hosts)
{
    // Compared as it comes: no trimming, so "1\r\n" or an error page is a
    // mismatch, and so is an empty answer when the server cannot be reached.
    const Text announced = textFromBytes(toolkit.readUrl(hosts.updateServerRoot() + "/vorpel.txt"));
    if (announced == programVersion) {
        return true;
    }
    askUserToUpdate(toolkit);
    toolkit.openInBrowser(hosts.updateServerRoot());
    toolkit.exitProgram(0);
    return false;
}

} // namespace brisma::app
