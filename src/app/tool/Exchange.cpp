// `wakebell-tool export DATAFILE --ics OUT.ics | --csv OUT.csv [--now T] [--days-off FILE]`: the
// table as iCalendar or CSV (the days off an entry rests on listed for two years from --now,
// by default the present moment).
// `wakebell-tool import DATAFILE IN.ics|IN.csv`: the file's entries added to the table (a data
// file not there yet is made); events the program cannot ring as meant are named on standard
// error with the reason, and a bad file or one that does not fit changes nothing.
#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"
#include "model/DayMath.h"
#include "platform/NativeServices.h"
#include "platform/Services.h"
#include "storage/AlarmExchange.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/Preferences.h"

namespace wb::tool {

int Export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  (void)out;
  ToolArgs a;
  if (!SplitArgs("export", args, {"--ics", "--csv", "--now", "--days-off"}, {}, a, err)) return 2;
  const bool ics = a.values.count("--ics") != 0;
  if (ics == (a.values.count("--csv") != 0)) {
    err << "wakebell-tool export: give one of --ics FILE or --csv FILE\n";
    return 2;
  }
  const std::unique_ptr<IClock> clock = MakeNativeClock();
  const Moment present = clock->Read();
  OleDate now = LocalDateOf(present);
  int64_t utcSeconds = present.utc.Count();
  if (a.values.count("--now")) {
    if (!MomentOption("export", a, "--now", now, err)) return 2;
    utcSeconds = SecondNumber(now) - int64_t(clock->UtcOffsetMinutes(now)) * 60;
  }
  AlarmTable table;
  if (!LoadTableReadOnly("export", a.dataFile, table, err)) return 1;
  const DaysOff daysOff = LoadDaysOff("export", a, err);
  const std::string path = ics ? a.values["--ics"] : a.values["--csv"];
  const std::string bytes = ics ? ExportICalendar(table, {&daysOff, DayOf(now), utcSeconds}) : ExportCsv(table);
  if (!WriteFileAtomically(path, bytes)) {
    err << "wakebell-tool export: cannot write '" << path << "'\n";
    return 1;
  }
  return 0;
}

int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  (void)out;
  if (args.size() != 2 || args[0].empty() || args[1].empty() || args[0][0] == '-' || args[1][0] == '-') {
    err << "wakebell-tool import: give the data file and the file to import\n";
    return 2;
  }
  const std::string& dataFile = args[0];
  const std::string& inFile = args[1];
  AlarmTable table;
  std::string tag(kCurrentDataTag);
  if (!NothingAt(dataFile) && !ReadAlarmFile(dataFile, table, 0, 0, &tag)) {
    err << "wakebell-tool import: cannot read the data file '" << dataFile << "'\n";
    return 1;
  }
  std::string bytes;
  std::ifstream probe;
  uint64_t size = 0;
  if (!OpenToRead(inFile, probe, size) || size > kImportMaxBytes || !ReadWholeFile(inFile, bytes)) {
    err << "wakebell-tool import: cannot read '" << inFile << "'"
        << (size > kImportMaxBytes ? " (larger than 64 MiB)" : "") << "\n";
    return 1;
  }
  probe.close();
  // Another program's events take the sound and look the editor gives a new entry at first.
  const AlarmEntry pattern = NewEntryPattern(Preferences{});
  const std::shared_ptr<IClock> clock = MakeNativeClock();
  const ImportResult result =
      ImportAlarms(bytes, StorageImportContext(pattern, [clock](OleDate local) { return clock->UtcOffsetMinutes(local); }));
  if (!result.ok) {
    err << "wakebell-tool import: " << inFile << ": " << result.error << "\n";
    return 1;
  }
  for (const SkippedEvent& s : result.skipped) err << "wakebell-tool import: skipped \"" << s.name << "\": " << s.reason << "\n";
  if (const std::string full = TableRoomError(table, result.entries.size()); !full.empty()) {
    err << "wakebell-tool import: " << full << "\n";
    return 1;
  }
  // A file of an older layout is written in the current one, as the program does, after its
  // original bytes are kept beside it.
  if (tag != kCurrentDataTag && KeepBackupOfFile(dataFile).empty()) {
    err << "wakebell-tool import: cannot keep a backup of the older data file '" << dataFile << "'\n";
    return 1;
  }
  for (const AlarmEntry& e : result.entries) table.Add(e);
  if (!SaveAlarmTable(dataFile, table)) {
    err << "wakebell-tool import: cannot write the data file '" << dataFile << "'\n";
    return 1;
  }
  return 0;
}

}  // namespace wb::tool
