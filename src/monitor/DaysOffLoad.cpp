// The monitor's reading of the user's days-off file: at start-up and whenever the editor opens,
// so an edit of the file counts from the next opening of the editor on.
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "monitor/MonitorWindow.h"
#include "storage/DaysOffFile.h"

namespace wb {

void MonitorWindow::LoadDaysOff(bool tell) {
  AppState& app = App();
  const std::string path = DaysOffPathBeside(app.dataPath);
  DaysOffFile file = ReadDaysOffFile(path);
  app.daysOff = DaysOff(std::move(file.days));
  std::string report;
  if (file.unreadable)
    report = "休日ファイル " + path + " を読めませんでした。祝日だけを休みとします。";
  else if (!file.badLines.empty())
    report = DaysOffBadLinesMessage(path, file.badLines);
  daysOffPending = report;
  if (tell) TellDaysOffReport();
}

void MonitorWindow::TellDaysOffReport() {
  AppState& app = App();
  const std::string report = daysOffPending;
  // Reported once: the same lines again at the next opening of the editor say nothing new.
  if (report == app.monitor.daysOffReport) return;
  app.monitor.daysOffReport = report;
  if (!report.empty()) Svc().dialogs->MsgBox(report, kOkOnly | kIconExclamation, kProgramTitle);
}

}  // namespace wb
