// The alarm window. Shows a due entry's message in its own font and colours, the main-bell
// banner and the minute it fired, and keeps itself above other windows. Reached as
// ui::TheForm<AlarmWindow>(); alert/ presents, blinks and dismisses it.
// Portable window logic over control objects; no operating-system header.
#pragma once
#include <string>

#include "model/AlarmEntry.h"
#include "platform/Controls.h"

namespace wb {

class AlarmWindow : public ui::Form {
 public:
  AlarmWindow();

  ui::RichText messageView;  // the message
  ui::RichText bannerView;   // "■本鈴■" for a main bell, empty for a pre-bell
  ui::RichText timeView;     // the minute the alarm fired
  ui::Button okButton;       // dismisses the alarm
  // The default button, inert: a key pressed just as the window pops up lands on it harmlessly.
  ui::Button inertDefaultButton;

  void FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText);

 private:
  void KeepOnTop();
};

}  // namespace wb
