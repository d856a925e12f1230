// Presenting a due entry, blinking the alarm window, the one dismiss routine, the timers that
// drive them, and the process's one alarm.
#include "alert/Alarm.h"

#include <memory>

#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "model/Assert.h"
#include "model/CatchUp.h"
#include "model/SoundFlag.h"
#include "platform/Services.h"

namespace wb {
namespace {

constexpr int kAlarmTickMs = 1000;
// A silent window that waits for OK holds the PC awake this long at most: a PC woken for a
// bell nobody attends must be let sleep again.
constexpr int64_t kSilentWindowAwakeSeconds = 10 * 60;

bool AlarmWindowUp() {
  const AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>();
  return window && window->Visible();
}

// The alarm window for showing `message`. A window whose message box holds a long text is
// made anew rather than given the new text: the rich edit takes seconds to empty a long
// paragraph (20 s for 32,767 characters under Wine), and none to be made.
constexpr size_t kLongTextBytes = 4096;
AlarmWindow& WindowFor(const std::string& message) {
  AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>();
  if (window && window->messageView.Text().size() > kLongTextBytes && window->messageView.Text() != message)
    window->Unload();  // by code: dismisses nothing
  return ui::TheForm<AlarmWindow>();
}

std::unique_ptr<Alarm>& AlarmSlot() {
  static std::unique_ptr<Alarm> alarm;
  return alarm;
}

}  // namespace

Alarm& TheAlarm() {
  std::unique_ptr<Alarm>& alarm = AlarmSlot();
  if (!alarm) alarm = std::make_unique<Alarm>(nullptr);
  return *alarm;
}

Alarm& MakeAlarm(SnoozeObserver* observer) {
  std::unique_ptr<Alarm>& alarm = AlarmSlot();
  alarm = std::make_unique<Alarm>(observer);
  return *alarm;
}

void ForgetAlarm() { AlarmSlot().reset(); }

Alarm::Alarm(SnoozeObserver* observer) : observer_(observer) {}

AlarmTimers& Alarm::Timers() {
  if (!timers_) {
    timers_ = std::make_unique<AlarmTimers>();
    timers_->alarmTimer.onTick = [this] { OnAlarmTick(); };
    timers_->singleClickTimer.onTick = [this] { OnSingleClickTimeout(); };
  }
  return *timers_;
}

void Alarm::StopTimers() {
  if (!timers_) return;
  timers_->alarmTimer.SetEnabled(false);
  timers_->singleClickTimer.SetEnabled(false);
}

void Alarm::OnAlarmTick() {
  AdvanceBlinking();
  RepeatOrEndSound();
  UpdateKeepAwake();
  // The one in front was answered or closed by itself: the next waiting one in its turn.
  if (!InProgress()) BringBackWaiting();
}

void Alarm::OnSingleClickTimeout() {
  // The timer stands for one click. Left armed after a click with no alarm in progress, it
  // would hide the next alarm window half a second after it appears.
  Timers().singleClickTimer.SetEnabled(false);
  Dismiss();
}

const AlarmEntry& Alarm::ActiveEntry() const {
  const int slot = progress_.activeSlot;
  WB_ASSERT(slot != -1);
  if (slot >= 0 && slot < App().table.EntryCount()) return App().table[slot];
  return progress_.presented;
}

std::string AlarmCaption(int snoozedTimes, int waiting) {
  // The counts come first, so that a title bar too short for all of it still shows them.
  std::string caption = std::string(kProgramTitle) + " (アラーム)";
  if (waiting > 0) caption = "ほかに" + std::to_string(waiting) + "件 - " + caption;
  if (snoozedTimes <= 0) return caption;
  return "スヌーズ" + std::to_string(snoozedTimes) + "回 - " + caption;
}

void Alarm::ShowCaption() {
  if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>())
    window->SetCaption(AlarmCaption(progress_.snoozedTimes, int(waiting_.size())));
}

void Alarm::BringBackWaiting() {
  if (waiting_.empty() || AlarmWindowUp()) return;
  WaitingAlarm back = std::move(waiting_.back());
  waiting_.pop_back();
  // Its entry may have gone meanwhile (the editor, a reload): its copy still shows.
  AlarmProgress& alarm = progress_;
  alarm = back.progress;
  alarm.sounding = false;  // it rang when it came; back in front it waits silent for its answer
  alarm.soundKind = SoundKind::None;
  alarm.dismissed = false;
  alarm.blinkActive = false;
  alarm.holdingAwake = false;
  // Its sound may have run its course while it waited: in front again it is the user's to answer.
  alarm.activeSlot = alarm.presentedSlot;
  backInFront_ = true;
  presentedMain_ = back.mainBell;
  presentedMinute_ = back.minuteText;
  AlarmWindow& window = WindowFor(alarm.presented.Message);
  window.FillAlarmWindow(alarm.presented, back.mainBell, back.minuteText);
  ShowCaption();
  window.Show();
  window.inertDefaultButton.SetFocus();
  Svc().foreground->BringToForeground(window);
  ui::Timer& alarmTimer = Timers().alarmTimer;
  alarmTimer.SetInterval(kAlarmTickMs);
  alarmTimer.SetEnabled(true);
  UpdateKeepAwake();
}

// Silences an alarm whose sound is still going when a silent alarm replaces it; otherwise
// the old sound would outlive the new alarm's OK, and its volumes would never be restored.
void Alarm::SilenceReplacedAlarm() {
  if (!InProgress() || !progress_.sounding || !AlarmPlaysSound(ActiveEntry().Sound.Flag)) return;
  StopSoundAtShutDown();
  RestoreMidiVolume();
  RestoreWaveVolume();
}

void Alarm::Present(int slot, bool mainBell, const std::string& minuteText, int snoozedTimes) {
  WB_ASSERT(slot >= 0 && slot < App().table.EntryCount());
  const AlarmEntry e = App().table[slot];
  const bool withSound = !e.Sound.File.empty() && AlarmPlaysSound(e.Sound.Flag);
  AlarmProgress& alarm = progress_;
  // The alarm in front, still up and not answered, waits behind this one: nothing is replaced.
  // (Its sound may have ended already: the window still waits for its answer.) The same
  // entry's newer bell takes its place instead: one reminder, answered once.
  const uint64_t entry = EntryFingerprint(e);
  if (alarm.presentedSlot != -1 && !alarm.dismissed && AlarmWindowUp() && EntryFingerprint(alarm.presented) != entry)
    waiting_.push_back({alarm, presentedMain_, presentedMinute_});
  std::erase_if(waiting_, [&](const WaitingAlarm& w) { return EntryFingerprint(w.progress.presented) == entry; });
  if (!withSound) {
    SilenceReplacedAlarm();  // a sounding replacement closes the device itself
    alarm.soundKind = SoundKind::None;
  }

  alarm.presented = e;
  alarm.keepWindow = e.KeepWindowFlag != 0;
  alarm.blinkCounter = 0;
  alarm.activeSlot = slot;
  alarm.presentedSlot = slot;
  alarm.sounding = true;
  alarm.dismissed = false;
  alarm.snoozedTimes = snoozedTimes;

  AlarmWindow& window = WindowFor(e.Message);
  window.okButton.SetEnabled(false);
  window.inertDefaultButton.SetEnabled(false);
  window.SetCaption(AlarmCaption(snoozedTimes, int(waiting_.size())));
  window.FillAlarmWindow(e, mainBell, minuteText);
  presentedMain_ = mainBell;
  presentedMinute_ = minuteText;
  backInFront_ = false;
  alarm.blinkActive = AlarmBlinks(e.BlinkFlag);

  window.Show();
  window.okButton.SetEnabled(true);
  window.inertDefaultButton.SetEnabled(true);
  window.inertDefaultButton.SetFocus();

  ui::Timer& alarmTimer = Timers().alarmTimer;
  alarmTimer.SetEnabled(false);
  alarmTimer.SetInterval(kAlarmTickMs);
  alarmTimer.SetEnabled(true);

  if (withSound) StartSound(e);
  alarm.presentedAt = Svc().clock->Read().LocalMinute() * 60;
  UpdateKeepAwake();
}

bool Alarm::HoldsAttention() const {
  const AlarmProgress& alarm = progress_;
  if (!InProgress() || alarm.dismissed) return false;
  const AlarmEntry& e = ActiveEntry();
  // Between the last blink and the window kept in front it is hidden for a tick.
  const bool blinking = alarm.blinkActive && (alarm.blinkCounter < e.BlinkCount || alarm.keepWindow);
  const bool soundOn = alarm.sounding && AlarmPlaysSound(e.Sound.Flag) && alarm.soundKind != SoundKind::None;
  const bool windowWaiting =
      AlarmWindowUp() && Svc().clock->Read().Local() - alarm.presentedAt < kSilentWindowAwakeSeconds;
  return blinking || soundOn || windowWaiting;
}

void Alarm::UpdateKeepAwake() {
  AlarmProgress& alarm = progress_;
  const bool hold = HoldsAttention();
  if (hold == alarm.holdingAwake) return;
  alarm.holdingAwake = hold;
  if (Svc().power) Svc().power->KeepAwake(hold);
  // Released without the user's word: it ran its course alone. A window still waiting for OK
  // has not ended; its OK is recorded then.
  if (!hold && !alarm.dismissed && !(InProgress() && AlarmWindowUp()))
    LogHistory(HistoryEvent::EndedByItself, alarm.presentedAt, alarm.presented.Message);
}

void Alarm::ReleaseKeepAwake() {
  if (progress_.holdingAwake && Svc().power) Svc().power->KeepAwake(false);
  progress_.holdingAwake = false;
}

void Alarm::AdvanceBlinking() {
  AlarmProgress& alarm = progress_;
  if (!InProgress() || !alarm.blinkActive) return;
  const int blinkCount = ActiveEntry().BlinkCount;

  if (alarm.blinkCounter < blinkCount) {
    // One blink is two ticks: a second hidden (counted), a second shown.
    AlarmWindow& window = ui::TheForm<AlarmWindow>();
    if (window.Visible()) {
      window.Hide();
      ++alarm.blinkCounter;
    } else {
      window.Show();
    }
  } else if (!alarm.dismissed && alarm.keepWindow) {
    AlarmWindow& window = ui::TheForm<AlarmWindow>();
    window.Show();
    // Cleared before the foreground call, which lets other events run: an alarm presented
    // inside it keeps its own blinking.
    alarm.blinkActive = false;
    Svc().foreground->BringToForeground(window);
  } else if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>()) {
    window->Hide();
  }
}

bool Alarm::BlinkingOver() const {
  const AlarmProgress& alarm = progress_;
  if (!alarm.blinkActive) return true;  // no blinking, or the kept window is back in front
  if (alarm.blinkCounter < ActiveEntry().BlinkCount) return false;
  // A kept window still has its keep step to come: ending the alarm now would leave it hidden.
  return !alarm.keepWindow || alarm.dismissed;
}

bool Alarm::AlarmWindowGone() const {
  const AlarmProgress& alarm = progress_;
  if (alarm.dismissed) return true;
  return alarm.blinkActive && !alarm.keepWindow && alarm.blinkCounter >= ActiveEntry().BlinkCount;
}

void Alarm::Preview(const AlarmEntry& look, const std::string& minuteText) {
  AlarmWindow& window = WindowFor(look.Message);
  window.SetCaption(std::string(kProgramTitle) + " ■■プレビュー■■");
  window.FillAlarmWindow(look, true, minuteText);
  window.Show();
}

void Alarm::Dismiss() {
  AlarmProgress& alarm = progress_;
  const bool inProgress = InProgress();
  const bool windowWasUp = AlarmWindowUp();
  if (inProgress) alarm.blinkCounter = ActiveEntry().BlinkCount;
  if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>(); window && window->Visible()) window->Hide();
  // The single-click timer fires once. Left armed after a click with nothing to dismiss, it
  // would dismiss the next alarm half a second after it appears.
  if (timers_) timers_->singleClickTimer.SetEnabled(false);
  if (!inProgress) {
    // Its sound had run its course: the window was what waited, and the next may come now.
    BringBackWaiting();
    return;
  }

  // Only an alarm still on is the user's to stop; one that already ended by itself is not.
  if (!alarm.dismissed && (alarm.holdingAwake || windowWasUp))
    LogHistory(HistoryEvent::Dismissed, alarm.presentedAt, ActiveEntry().Message);
  alarm.dismissed = true;
  if (AlarmPlaysSound(ActiveEntry().Sound.Flag)) {
    StopSoundOnDismiss();
  } else {
    // Nothing to wait for: left in progress, its timer would go on hiding the window (a
    // preview among them) until the next alarm.
    End();
  }
  if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>()) window->Hide();
  UpdateKeepAwake();
  // A sound still closing finishes the answered alarm at a later tick; then the next comes.
  if (!InProgress()) BringBackWaiting();
}

void Alarm::ShutDown() {
  if (InProgress() && AlarmPlaysSound(ActiveEntry().Sound.Flag)) StopSoundAtShutDown();
  if (progress_.testPlaying) StopTestPlay();  // the editor's test goes with the program
  RestoreMidiVolume();
  RestoreWaveVolume();
  ReleaseKeepAwake();
}

void Alarm::FollowEntryTo(const AlarmTable& table) {
  AlarmProgress& alarm = progress_;
  if (alarm.activeSlot == -1 && alarm.presentedSlot == -1) return;
  const uint64_t fingerprint = EntryFingerprint(alarm.presented);
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    if (EntryFingerprint(table[slot]) != fingerprint) continue;
    if (alarm.activeSlot != -1) alarm.activeSlot = slot;
    if (alarm.presentedSlot != -1) alarm.presentedSlot = slot;
    return;
  }
}

}  // namespace wb
