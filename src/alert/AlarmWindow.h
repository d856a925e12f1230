// The alarm window. Shows a due entry's message in its own font and colours, the main-bell
// banner and the minute it fired, and keeps itself above other windows. It grows with a long
// message up to half the work area each way, then scrolls it (a bar, the keyboard). Reached as
// ui::TheForm<AlarmWindow>(); alert/ presents, blinks and dismisses it.
// Portable window logic over control objects; no operating-system header.
#pragma once
#include <map>
#include <string>

#include "model/AlarmEntry.h"
#include "platform/Controls.h"

namespace wb {

class AlarmWindow : public ui::Form {
 public:
  AlarmWindow();

  ui::RichText messageView;  // the message; scrolls when it is taller than half the screen
  ui::RichText bannerView;   // "■本鈴■" for a main bell, empty for a pre-bell
  ui::RichText timeView;     // the minute the alarm fired
  ui::Button okButton;       // dismisses the alarm
  // Ends the alarm as OK does and rings the same entry again after the delay the list shows.
  ui::ComboBox snoozeDelayCombo;
  ui::Button snoozeButton;
  // The default button, inert: a key pressed just as the window pops up lands on it harmlessly.
  ui::Button inertDefaultButton;

  void FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText);

 private:
  void KeepOnTop();
  // The window's size for the message: the designed one while it fits, else wider and taller
  // up to half the work area, with the scroll bar's room when even that is too small.
  void FitToMessage(const AlarmEntry& e);
  void PlaceControls(int messageWidth, int messageHeight);
  void Snooze();
  int shownSnoozeMinutes_ = 0;  // the delay the settings remembered when the window was made
  std::map<const ui::Control*, ui::Rect> designedBand_;  // the band's places as designed
};

}  // namespace wb
