#include "monitor/ReadOnlyFolder.h"

#include "app_state/ProgramTitle.h"
#include "platform/Services.h"

namespace wb {

namespace {
// The folder as Explorer's address bar shows it: no separator at the end, except a drive's root.
std::string FolderForDisplay(const std::string& folder) {
  std::string shown = folder;
  while (shown.size() > 1 && (shown.back() == '\\' || shown.back() == '/') && shown[shown.size() - 2] != ':')
    shown.pop_back();
  return shown;
}
}  // namespace

std::string ReadOnlyFolderMessage(const std::string& programFolder) {
  const std::string title = kProgramTitle;
  return title + " のフォルダーに書き込みができません。\r\n\r\n" + FolderForDisplay(programFolder) +
         "\r\n\r\nこのままでは、アラームの追加や変更、設定を保存できません。"
         "登録済みのアラームはこのまま鳴ります。\r\n\r\n" +
         title + " を終了し、このフォルダーごと、ドキュメントやデスクトップなど書き込みのできる場所へ"
         "移してから起動し直してください。";
}

void WarnProgramFolderReadOnly(const std::string& programFolder) {
  Svc().dialogs->MsgBox(ReadOnlyFolderMessage(programFolder), kOkOnly | kIconExclamation, kProgramTitle);
}

}  // namespace wb
