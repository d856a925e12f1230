// All sound of the program: one MCI device under the alias "mymedia", driven by command
// strings, with the system sound function as the second chance for wave files.
#include <algorithm>
#include <cctype>

#include "alert/Alarm.h"
#include "audio/Volume.h"
#include "model/Assert.h"
#include "model/SoundFlag.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "platform/Services.h"

namespace wb {
namespace {

constexpr uint32_t kSndAsync = 0x01;
constexpr uint32_t kSndNoStop = 0x10;

uint32_t Send(const std::string& command) {
  WB_ASSERT(Svc().mci != nullptr);
  return Svc().mci->Send(command);
}

uint32_t SendOpen(const std::string& file) { return Send("open \"" + file + "\" alias mymedia"); }

bool IsWaveFile(const std::string& file) {
  if (file.size() < 4) return false;
  std::string tail = file.substr(file.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".wav";
}

void RestoreVolumes() {
  RestoreMidiVolume();
  RestoreWaveVolume();
}

// Frees the alias in the state the mode query found it: a playing device is stopped first,
// a stopped one only closed, a closed one left alone.
void CloseMedia(MediaMode mode) {
  if (mode == MediaMode::Playing) {
    Send("stop mymedia");
    Send("close mymedia");
  } else if (mode == MediaMode::Stopped) {
    Send("close mymedia");
  }
}

}  // namespace

void Alarm::End() {
  AlarmProgress& alarm = progress_;
  if (!InProgress()) return;
  Timers().alarmTimer.SetEnabled(false);
  if (AlarmPlaysSound(ActiveEntry().Sound.Flag)) {
    // A wave the system sound function plays cannot be asked when it ends: it ends with its
    // alarm, before the volumes it plays at are given back.
    if (alarm.sounding && alarm.soundKind == SoundKind::System) Svc().sound->Play("", kSndAsync);
    RestoreVolumes();
  }
  alarm.soundKind = SoundKind::None;
  alarm.sounding = false;
  alarm.blinkActive = false;
  alarm.activeSlot = -1;
  backInFront_ = false;
}

MediaMode QueryMediaMode() {
  WB_ASSERT(Svc().mci != nullptr);
  std::string reply;
  // A failed query means no device is open under the alias, whatever the buffer holds.
  if (Svc().mci->Send("status mymedia mode", &reply) != 0) return MediaMode::Closed;
  reply.resize(std::min(reply.size(), reply.find('\0')));
  if (reply.empty()) return MediaMode::Closed;
  if (reply == "playing") return MediaMode::Playing;
  if (reply == "stopped") return MediaMode::Stopped;
  return MediaMode::Other;
}

void Alarm::StartSound(const AlarmEntry& e) {
  // Only one sound at a time: whatever still has the alias (an older alarm, a test) goes, and
  // so does a wave an older alarm left to the system sound function.
  if (progress_.soundKind == SoundKind::System) Svc().sound->Play("", kSndAsync);
  CloseMedia(QueryMediaMode());
  progress_.testPlaying = false;  // the device is the alarm's now, whatever a test left
  progress_.soundKind = SoundKind::None;  // until something plays the file

  ApplyMidiVolume(uint32_t(e.MidiVolume));
  ApplyWaveVolume(uint32_t(e.WaveVolume));

  SendOpen(e.Sound.File);  // a refused file shows in the play result
  if (Send("play mymedia") == 0) {
    progress_.soundKind = SoundKind::Mci;
    return;
  }
  Send("close mymedia");
  if (IsWaveFile(e.Sound.File)) {
    Svc().sound->Play(e.Sound.File, kSndAsync | kSndNoStop);
    progress_.soundKind = SoundKind::System;
  }
}

void Alarm::RepeatOrEndSound() {
  const AlarmProgress& alarm = progress_;
  if (!InProgress()) return;
  const AlarmEntry& e = ActiveEntry();
  if (!AlarmPlaysSound(e.Sound.Flag) || alarm.soundKind == SoundKind::System || backInFront_) {
    // No sound to wait for, or one that cannot be asked about: the alarm lasts as long as its
    // window, so that it neither holds the editor nor hides a window after it is gone.
    if (AlarmWindowGone()) End();
    return;
  }
  const bool endless = AlarmPlaysEndlessly(e.Sound.Endless);

  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Stopped) {
    if (endless) {
      Send("play mymedia from 0");
      return;
    }
    Send("close mymedia");
    if (BlinkingOver()) End();
  } else if (mode == MediaMode::Closed) {
    if (BlinkingOver()) End();
  }
}

void Alarm::StopSoundOnDismiss() {
  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Playing || mode == MediaMode::Stopped) {
    // A stopped device is closed too: an endless sound caught between its end and its
    // replay would otherwise start again on the next tick, after the user's OK.
    if (mode == MediaMode::Playing) Send("stop mymedia");
    Send("close mymedia");
  } else if (mode == MediaMode::Closed && progress_.soundKind == SoundKind::System) {
    Svc().sound->Play("", kSndAsync);
  } else {
    return;
  }
  RestoreVolumes();
  progress_.sounding = false;
}

void Alarm::StopSoundAtShutDown() {
  const AlarmProgress& alarm = progress_;
  if (!InProgress() || !AlarmPlaysSound(ActiveEntry().Sound.Flag)) return;
  const MediaMode mode = QueryMediaMode();
  CloseMedia(mode);
  if (mode == MediaMode::Closed && alarm.soundKind == SoundKind::System) {
    Svc().sound->Play("", kSndAsync);
  }
}

void Alarm::ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume) {
  if (file.empty() || !Svc().launcher->FileExists(file)) {
    Svc().dialogs->MsgBox("指定されたファイルはありません", kOkOnly, kProgramTitle);
    return;
  }
  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Playing) {
    progress_.testPlaying = false;
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
    return;
  }
  if (mode == MediaMode::Stopped) Send("close mymedia");
  ApplyMidiVolume(midiVolume);
  ApplyWaveVolume(waveVolume);
  SendOpen(file);
  if (Send("play mymedia") == 0) {
    progress_.testPlaying = true;
    return;
  }
  Send("close mymedia");  // nothing plays: no test to stop later
}

void Alarm::StopTestPlay() {
  AlarmProgress& alarm = progress_;
  const MediaMode mode = QueryMediaMode();
  if (!alarm.testPlaying) return;
  // The flag goes whatever the device says: a test that is not playing any more (ended, or
  // its device taken) has nothing left to stop.
  alarm.testPlaying = false;
  if (mode == MediaMode::Playing) {
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
  } else if (mode == MediaMode::Stopped) {
    // The device stays open; the next start, alarm or test, closes it first.
    RestoreVolumes();
  }
}

bool Alarm::TestPlaying() {
  AlarmProgress& alarm = progress_;
  if (alarm.testPlaying && QueryMediaMode() != MediaMode::Playing) alarm.testPlaying = false;  // ended by itself
  return alarm.testPlaying;
}

void Alarm::ForgetEndedTest() { progress_.testPlaying = false; }

}  // namespace wb
