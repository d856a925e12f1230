// The monitor's reading of the user's days-off file: at start-up, whenever the editor opens and
// within a minute of the file changing (TableReload.cpp looks at it with the data file).
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "monitor/MonitorWindow.h"
#include "storage/DaysOffFile.h"
#include "storage/FileStamp.h"

namespace wb {

void MonitorWindow::LoadDaysOff(bool tell) {
  AppState& app = App();
  const std::string path = DaysOffPathBeside(app.dataPath);
  daysOffStamp_ = StampOfFile(path);  // before the read: a change while it reads is found next time
  DaysOffFile file = ReadDaysOffFile(path);
  std::string report;
  if (file.tooLarge) {
    // No list of days is that large: the days in use stay, rather than all the user's days off
    // going at once because of a file put in the wrong place.
    report = "休日ファイル " + path + " は大きすぎるため（" + std::to_string(kDaysOffMaxBytes >> 20) +
             " MB まで）、読みませんでした。\n休日は、祝日とこれまでに読んだ休みの日のままです。";
  } else {
    daysOff_ = DaysOff(std::move(file.days));
    if (file.unreadable)
      report = "休日ファイル " + path + " を読めませんでした。祝日だけを休みとします。";
    else if (!file.badLines.empty())
      report = DaysOffBadLinesMessage(path, file.badLines);
  }
  daysOffPending = report;
  if (tell) TellDaysOffReport();
}

void MonitorWindow::TellDaysOffReport() {
  const std::string report = daysOffPending;
  // Reported once: the same lines again at the next opening of the editor say nothing new.
  if (report == daysOffReport_) return;
  daysOffReport_ = report;
  if (!report.empty()) Svc().dialogs->MsgBox(report, kOkOnly | kIconExclamation, kProgramTitle);
}

}  // namespace wb
