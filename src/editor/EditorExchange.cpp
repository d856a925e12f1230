// Alarms in and out of the editor: エクスポート… writes the table the list shows as iCalendar or
// CSV (the kind by the file name's extension); インポート… adds a file's entries to the table as
// unsaved edits, which ＯＫ saves and closing without it throws away.
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/AlarmExchange.h"
#include "storage/FileIo.h"

namespace wb {

namespace {
constexpr const char* kExportFilter = "iCalendar ファイル (*.ics)|*.ics|CSV ファイル (*.csv)|*.csv";
constexpr const char* kImportFilter =
    "iCalendar / CSV ファイル (*.ics;*.csv)|*.ics;*.csv|すべてのファイル (*.*)|*.*";
constexpr const char* kExportKindMessage =
    "ファイル名の拡張子を .ics (カレンダー) か .csv (表計算) にしてください";
constexpr const char* kNothingToImport = "取り込めるアラームがありませんでした";
}  // namespace

void EditorWindow::ExportAlarmFile() {
  AppState& app = App();
  std::string path = FolderOf(app.dataPath) + "Wakebell.ics";
  dialogOpen_ = true;
  const bool chosen = Svc().dialogs->OpenFileWith("エクスポート", kExportFilter, path,
                                                  {.defaultExtension = "ics", .save = true});
  dialogOpen_ = false;
  if (!chosen) return;
  ExchangeFormat format;
  if (!ExchangeFormatOfPath(path, format)) {
    Warn(kExportKindMessage, &exportButton);
    return;
  }
  const Moment now = Svc().clock->Read();
  const std::string bytes = format == ExchangeFormat::ICalendar
                                ? ExportICalendar(app.table, {&DaysOffInUse(), DayOf(LocalDateOf(now)), now.utc.Count()})
                                : ExportCsv(app.table);
  if (!WriteFileAtomically(path, bytes)) {
    Warn("ファイルに書き込めませんでした\r\n" + path, &exportButton);
    return;
  }
  dialogOpen_ = true;
  Svc().dialogs->MsgBox(std::to_string(app.table.EntryCount()) + " 件のアラームを書き出しました\r\n" + path,
                        kOkOnly | kIconInformation, kProgramTitle);
  dialogOpen_ = false;
}

void EditorWindow::ImportAlarmFile() {
  AppState& app = App();
  std::string path = FolderOf(app.dataPath);
  dialogOpen_ = true;
  const bool chosen = Svc().dialogs->OpenFile("インポート", kImportFilter, path);
  dialogOpen_ = false;
  if (!chosen) return;
  std::string bytes;
  std::ifstream probe;
  uint64_t size = 0;
  if (!OpenToRead(path, probe, size) || size > kImportMaxBytes || !ReadWholeFile(path, bytes)) {
    Warn("ファイルを読めませんでした\r\n" + path, &importButton);
    return;
  }
  probe.close();
  IClock* clock = Svc().clock;
  const ImportResult result = ImportAlarms(
      bytes, StorageImportContext(NewEntryPattern(app.prefs), [clock](OleDate local) { return clock->UtcOffsetMinutes(local); }));
  // A bad file or one that does not fit adds nothing: the table stays as it was.
  if (!result.ok) {
    Warn("ファイルを読めませんでした。何も取り込んでいません。\r\n" + path + "\r\n" + result.error, &importButton);
    return;
  }
  if (const std::string full = TableRoomError(app.table, result.entries.size()); !full.empty()) {
    Warn(full, &importButton);
    return;
  }
  for (const AlarmEntry& e : result.entries) app.table.Add(e);
  if (!result.entries.empty()) {
    UnsavedEdits::Set(true);
    app.lastEditedSlot = app.table.EntryCount() - 1;
    RefreshList();
    SelectRowOfEntry(app.lastEditedSlot);
  }
  std::string report = result.entries.empty() ? std::string(kNothingToImport)
                                               : std::to_string(result.entries.size()) +
                                                     " 件のアラームを取り込みました (ＯＫ で保存します)";
  if (!result.skipped.empty()) report += "\r\n\r\n" + SkippedEventsMessage(result.skipped);
  dialogOpen_ = true;
  Svc().dialogs->MsgBox(report, kOkOnly | (result.skipped.empty() ? kIconInformation : kIconExclamation), kProgramTitle);
  dialogOpen_ = false;
  alarmList.SetFocus();
}

}  // namespace wb
