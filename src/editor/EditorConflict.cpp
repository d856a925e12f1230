// The question at OK when the data file changed since the editor read it: another PC saved
// to the shared folder, wakebell-tool added an entry, a backup was put back. Writing the
// editor's table over it would lose what was saved there without a word.
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/FileIo.h"
#include "storage/FileStamp.h"

namespace wb {

namespace {
constexpr const char* kChangedHead = "データファイルが、この画面で読み込んだ後に変更されています。\r\n\r\n";
constexpr const char* kChangedChoices =
    "\r\n\r\n上書き: この画面の内容で保存します（いまのファイルはバックアップとして残します）\r\n"
    "読み込み直す: ファイルを読み込み直します（この画面での変更は破棄されます）\r\n"
    "キャンセル: どちらも変更せずに、この画面に戻ります";
constexpr const char* kOverwriteButton = "上書き(&O)";
constexpr const char* kReloadButton = "読み込み直す(&R)";
constexpr const char* kCancelButton = "キャンセル";
constexpr const char* kDropEditsQuestion =
    "この画面での変更を破棄して、データファイルを読み込み直します。\r\nよろしいですか？";
constexpr const char* kNoBackupMessage =
    "いまのデータファイルのバックアップを作れなかったため、上書きしませんでした。\r\n";
}  // namespace

bool EditorWindow::ResolveChangedFile() {
  AppState& app = App();
  const std::string& path = app.dataPath;
  const FileStamp now = StampOfFile(path);
  if (SameContent(now, app.dataStamp)) return true;
  // No file when the editor read it and none now (a first save): nothing to lose.
  if (!now.present && !app.dataStamp.present) return true;
  const std::string when = now.present ? LastWriteText(path) : "";
  const std::string stamp = now.present ? "更新日時: " + when : std::string("（ファイルは削除されています）");
  dialogOpen_ = true;
  const int answer = Svc().dialogs->Choose(kChangedHead + path + "\r\n" + stamp + kChangedChoices,
                                           {kOverwriteButton, kReloadButton, kCancelButton}, kIconExclamation,
                                           kProgramTitle);
  dialogOpen_ = false;
  if (answer == 0) {
    // What was saved elsewhere stays beside the file, to be found again.
    if (!now.present || !KeepBackupOfFile(path).empty()) return true;
    Warn(kNoBackupMessage + path, nullptr);
    return false;
  }
  if (answer != 1) return false;
  if (UnsavedEdits::Any()) {
    dialogOpen_ = true;
    const int sure = Svc().dialogs->MsgBox(kDropEditsQuestion, kOkCancel | kIconExclamation, kProgramTitle);
    dialogOpen_ = false;
    if (sure == kAnswerCancel) return false;
  }
  // The editor stays open on the file as it is now; its next OK saves without a question.
  OpenEditor();
  PauseDueCheck(false);  // the wake timer follows the table read again
  return false;
}

}  // namespace wb
