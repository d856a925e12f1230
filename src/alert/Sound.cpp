// All sound of the program: one MCI device under the alias "mymedia", driven by command
// strings, with the system sound function as the second chance for wave files.
#include <algorithm>
#include <cctype>

#include "alert/Alert.h"
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

// The alarm is over: sound finished and blinking done. The alarm timer rests until the next alarm.
void EndAlarm() {
  TheAlarmTimers().alarmTimer.SetEnabled(false);
  RestoreVolumes();
  App().alarm.sounding = false;
  App().alarm.activeIndex = -1;
}

}  // namespace

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

void StartAlarmSound(const AlarmEntry& e) {
  // Only one sound at a time: whatever still has the alias (an older alarm, a test) goes.
  CloseMedia(QueryMediaMode());

  ApplyMidiVolume(uint32_t(e.MidiVolume));
  ApplyWaveVolume(uint32_t(e.WaveVolume));

  SendOpen(e.SoundFile);  // a refused file shows in the play result
  if (Send("play mymedia") == 0) {
    App().alarm.soundKind = SoundKind::Mci;
    return;
  }
  Send("close mymedia");
  if (IsWaveFile(e.SoundFile)) {
    Svc().sound->Play(e.SoundFile, kSndAsync | kSndNoStop);
    App().alarm.soundKind = SoundKind::System;
  }
}

void SoundHalf() {
  const AlarmState& alarm = App().alarm;
  if (alarm.activeIndex == -1) return;
  const AlarmEntry& e = ActiveEntry();
  if (!AlarmPlaysSound(e.SoundFlag)) return;
  // Copied first: ending the alarm clears activeIndex.
  const int16_t blinkCount = e.BlinkCount;
  const bool endless = e.EndlessFlag == 1;

  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Stopped) {
    if (endless) {
      Send("play mymedia from 0");
      return;
    }
    Send("close mymedia");
    if (alarm.blinkCounter >= blinkCount) EndAlarm();
  } else if (mode == MediaMode::Closed) {
    if (alarm.blinkCounter >= blinkCount) EndAlarm();
  }
}

void DismissSoundRule() {
  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Playing || mode == MediaMode::Stopped) {
    // A stopped device is closed too: an endless sound caught between its end and its
    // replay would otherwise start again on the next tick, after the user's OK.
    if (mode == MediaMode::Playing) Send("stop mymedia");
    Send("close mymedia");
  } else if (mode == MediaMode::Closed && App().alarm.soundKind == SoundKind::System) {
    Svc().sound->Play("", kSndAsync);
  } else {
    return;
  }
  RestoreVolumes();
  App().alarm.sounding = false;
}

void ShutDownSoundRule() {
  const AlarmState& alarm = App().alarm;
  if (alarm.activeIndex == -1 || !AlarmPlaysSound(ActiveEntry().SoundFlag)) return;
  const MediaMode mode = QueryMediaMode();
  CloseMedia(mode);
  if (mode == MediaMode::Closed && alarm.soundKind == SoundKind::System) {
    Svc().sound->Play("", kSndAsync);
  }
}

void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume) {
  if (file.empty() || !Svc().launcher->FileExists(file)) {
    Svc().dialogs->MsgBox("指定されたファイルはありません", kOkOnly, kProgramTitle);
    return;
  }
  const MediaMode mode = QueryMediaMode();
  if (mode == MediaMode::Playing) {
    App().alarm.testPlaying = false;
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
    return;
  }
  if (mode == MediaMode::Stopped) Send("close mymedia");
  App().alarm.testPlaying = true;
  ApplyMidiVolume(midiVolume);
  ApplyWaveVolume(waveVolume);
  SendOpen(file);
  if (Send("play mymedia") != 0) Send("close mymedia");
}

void StopTestPlay() {
  AlarmState& alarm = App().alarm;
  const MediaMode mode = QueryMediaMode();
  if (!alarm.testPlaying) return;
  if (mode == MediaMode::Playing) {
    alarm.testPlaying = false;
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
  } else if (mode == MediaMode::Stopped) {
    // The device stays open; the next start, alarm or test, closes it first.
    alarm.testPlaying = false;
    RestoreVolumes();
  }
}

}  // namespace wb
