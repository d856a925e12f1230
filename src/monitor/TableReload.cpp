// Taking in a data file changed elsewhere: another PC saving to a shared or synced folder,
// wakebell-tool, a backup put back. The running program would otherwise ring the old table
// until its editor is opened, and never ring what was added elsewhere.
#include <unordered_map>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "model/CatchUp.h"
#include "monitor/MonitorWindow.h"
#include "storage/DataFile.h"
#include "storage/DaysOffFile.h"
#include "storage/FileStamp.h"

namespace wb {

namespace {
// A file caught while it is being written reads as damaged for a moment; only one that stays
// so this long is worth a word.
constexpr int64_t kUnreadableTellSeconds = 60;
const std::string kStillUnreadableHead = "データファイルが変更されましたが、読み込めません。\r\n\r\n";
const std::string kStillUnreadableTail =
    "\r\n\r\n読み込めるようになるまで、前に読み込んだアラームで鳴らします。ファイルを確認してください。";

// The slots of `after` whose entry `before` did not hold: added or edited elsewhere (an edited
// entry is a new one to the ledger too). Each entry of `before` answers for one of `after`.
std::vector<int> NewEntrySlots(const AlarmTable& before, const AlarmTable& after) {
  std::unordered_map<uint64_t, int> held;
  for (int slot = 0; slot < before.EntryCount(); ++slot) ++held[EntryFingerprint(before[slot])];
  std::vector<int> added;
  for (int slot = 0; slot < after.EntryCount(); ++slot) {
    auto it = held.find(EntryFingerprint(after[slot]));
    if (it != held.end() && it->second > 0)
      --it->second;
    else
      added.push_back(slot);
  }
  return added;
}
}  // namespace

void MonitorWindow::WatchDataFile() {
  if (Svc().fileWatch) Svc().fileWatch->Watch(App().dataPath);
  const Moment now = Svc().clock->Read();
  dataCheckMinute_ = now.LocalMinute();
  dataSeenUnchangedAt_ = now.Local();
}

// A day the user just listed in the days-off file rests from the next minute on, not from the
// next opening of the editor.
void MonitorWindow::LookAtDaysOffFile(const Moment& now) {
  daysOffCheckMinute_ = now.LocalMinute();
  if (StampOfFile(DaysOffPathBeside(App().dataPath)) == daysOffStamp_) return;
  LoadDaysOff(true);
  RefreshListIfLoaded();
  watch.Rearm(now, paused_);
}

void MonitorWindow::CheckDataFile(const Moment& now) {
  const bool notice = Svc().fileWatch && Svc().fileWatch->TakeChange();
  // Network shares and sync services may send no notice: the file is looked at every minute.
  const int64_t minute = now.LocalMinute();
  if (!notice && minute == dataCheckMinute_) return;
  dataCheckMinute_ = minute;
  AppState& app = App();

  // Edits not saved yet stay in the table; the editor's OK asks about the file instead.
  const EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
  if (UnsavedEdits::Any() || (editor && editor->ActiveGuards().dialogOpen)) return;
  const FileStamp stamp = StampOfFile(app.dataPath);
  if (stamp == app.dataStamp) {
    dataSeenUnchangedAt_ = now.Local();
    return;
  }
  // Saved again as it was, or only touched (a sync service does): nothing to read again.
  if (SameContent(stamp, app.dataStamp) && stamp.readable) {
    app.dataStamp = stamp;
    dataSeenUnchangedAt_ = now.Local();
    return;
  }
  ReloadTable(now);
}

void MonitorWindow::ReloadTable(const Moment& now) {
  AppState& app = App();
  AlarmTable fresh;
  FileStamp stamp;
  // The start-up's load: an older layout converted after a backup, a damaged file remembered
  // so that the next save keeps it.
  if (!LoadAlarmTableStamped(app.dataPath, fresh, SavedMidiVolume(), SavedWaveVolume(), stamp)) {
    // Being written, locked, gone for a moment, damaged: the table in memory goes on ringing.
    TellUnreadableOnce(now);
    return;
  }
  unreadableSince_ = 0;
  unreadableTold_ = false;
  AlarmTable before = std::move(app.table);
  // A bell rung here since the file was last read stays rung in its minute.
  CarryRungMarks(before, fresh);
  app.table = std::move(fresh);
  app.dataStamp = stamp;
  TheAlarm().FollowEntryTo(app.table);
  watch.TableReloaded(before, now, paused_);
  LogHistory(HistoryEvent::Reloaded, 0, app.dataPath);
  // The due check looks at the present minute only: a bell that came with the file and fell
  // due before it could be read here (a file being written for a while, the editor holding
  // edits or a question) would be neither rung nor reported.
  watch.CatchUpNewEntries(NewEntrySlots(before, app.table), dataSeenUnchangedAt_, now, paused_);
  dataSeenUnchangedAt_ = now.Local();
  if (trayIconRecord.icon == TrayIcon::App) UpdateTrayTip();
  RefreshListIfLoaded();
}

void MonitorWindow::TellUnreadableOnce(const Moment& now) {
  if (unreadableSince_ == 0) unreadableSince_ = now.Local();
  if (unreadableTold_ || now.Local() - unreadableSince_ < kUnreadableTellSeconds) return;
  unreadableTold_ = true;  // before the box: the ticks go on while it waits for the user
  const std::string& path = App().dataPath;
  LogHistory(HistoryEvent::TableUnreadable, 0, path);
  Svc().dialogs->MsgBox(kStillUnreadableHead + path + kStillUnreadableTail, kOkOnly | kIconExclamation,
                        kProgramTitle);
}

}  // namespace wb
