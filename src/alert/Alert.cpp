// Presenting a due entry, blinking the alarm window and the one dismiss routine.
#include "alert/Alert.h"

#include "alert/Form2.h"
#include "audio/Volume.h"
#include "editor/Form1.h"
#include "model/Assert.h"
#include "monitor/Form3.h"
#include "monitor/Globals.h"
#include "platform/Services.h"

namespace wb {
namespace {

AlarmEntry& PresentedCopy() {
  static AlarmEntry entry;
  return entry;
}

// Silences an alarm whose sound is still going when a silent alarm replaces it; otherwise
// the old sound would outlive the new alarm's OK, and its volumes would never be restored.
void SilenceReplacedAlarm() {
  const MonitorState& mon = G().Mon;
  if (mon.ActiveIndex == -1 || !mon.AlarmSounding || ActiveEntry().SoundFlag != 1) return;
  ShutDownSoundRule();
  RestoreMidiVolume();
  RestoreWaveVolume();
}

}  // namespace

const AlarmEntry& ActiveEntry() {
  const int slot = G().Mon.ActiveIndex;
  WB_ASSERT(slot != -1);
  if (slot >= 0 && slot < G().Table.EntryCount()) return G().Table[slot];
  return PresentedCopy();
}

void ResetAlert() { PresentedCopy() = AlarmEntry{}; }

void PresentAlarm(int slot, bool mainBell, const std::string& minuteText) {
  WB_ASSERT(slot >= 0 && slot < G().Table.EntryCount());
  const AlarmEntry e = G().Table[slot];
  const bool withSound = !e.SoundFile.empty() && e.SoundFlag == 1;
  if (!withSound) SilenceReplacedAlarm();  // a sounding replacement closes the device itself

  MonitorState& mon = G().Mon;
  PresentedCopy() = e;
  mon.KeepWindow = e.KeepWindowFlag;
  mon.BlinkCounter = 0;
  mon.ActiveIndex = int16_t(slot);
  mon.AlarmSounding = true;
  mon.AlarmDismissed = false;

  Form2& form = TheForm2();
  form.Command1.SetEnabled(false);
  form.Command2.SetEnabled(false);
  form.SetCaption("Wakebell (アラーム)");
  form.FillAlarmWindow(e, mainBell, minuteText);
  mon.BlinkActive = e.BlinkFlag == 1;

  form.Show();
  form.Command1.SetEnabled(true);
  form.Command2.SetEnabled(true);
  form.Command2.SetFocus();

  ui::Timer& timer2 = TheForm3().Timer2;
  timer2.SetEnabled(false);
  timer2.SetInterval(1000);
  timer2.SetEnabled(true);

  if (withSound) StartAlarmSound(e);
  RefreshListIfLoaded();
}

void BlinkHalf() {
  MonitorState& mon = G().Mon;
  if (mon.ActiveIndex == -1 || !mon.BlinkActive) return;
  const int16_t blinkCount = ActiveEntry().BlinkCount;

  if (mon.BlinkCounter < blinkCount) {
    // One blink is two ticks: a second hidden (counted), a second shown.
    Form2& form = TheForm2();
    if (form.Visible()) {
      form.Hide();
      ++mon.BlinkCounter;
    } else {
      form.Show();
    }
  } else if (!mon.AlarmDismissed && mon.KeepWindow != 0) {
    Form2& form = TheForm2();
    form.Show();
    // Cleared before the foreground call, which lets other events run: an alarm presented
    // inside it keeps its own blinking.
    mon.BlinkActive = false;
    Svc().foreground->BringToForeground(form);
  } else if (Form2* form = Form2IfLoaded()) {
    form->Hide();
  }
}

void DismissAlarm() {
  MonitorState& mon = G().Mon;
  const bool inProgress = mon.ActiveIndex != -1;
  if (inProgress) mon.BlinkCounter = ActiveEntry().BlinkCount;
  if (Form2* form = Form2IfLoaded(); form && form->Visible()) form->Hide();
  // The single-click timer fires once. Left armed after a click with nothing to dismiss, it
  // would dismiss the next alarm half a second after it appears.
  if (Form3Exists()) TheForm3().Timer3.SetEnabled(false);
  if (!inProgress) return;

  mon.AlarmDismissed = true;
  if (ActiveEntry().SoundFlag == 1)
    DismissSoundRule();
  else
    mon.AlarmSounding = false;
  if (Form2* form = Form2IfLoaded()) form->Hide();
}

}  // namespace wb
