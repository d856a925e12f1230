// Form2: the alarm window. Shows a due entry's message in its own font and colours, the
// main-bell banner and the minute it fired, and keeps itself above other windows.
// Portable window logic over control objects; no operating-system header.
#pragma once
#include <string>

#include "model/AlarmEntry.h"
#include "platform/Controls.h"

namespace wb {

class Form2 : public ui::Form {
 public:
  Form2();

  ui::RichText Rich1;   // the message
  ui::RichText Rich2;   // banner: "■本鈴■" for a main bell, empty for a pre-bell
  ui::RichText Rich3;   // the minute the alarm fired
  ui::Button Command1;  // OK: dismisses the alarm
  ui::Button Command2;  // the default button; inert, it only holds the focus

  void FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText);

 private:
  void KeepOnTop();
};

// Touching the alarm window creates it hidden and runs its load.
Form2& TheForm2();
// The alarm window when it is loaded, else null; never creates it.
Form2* Form2IfLoaded();
void ResetForm2();  // tests: forget the window entirely

}  // namespace wb
