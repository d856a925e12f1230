// All sound of the program: one MCI device under the alias "mymedia", driven by command
// strings, with the system sound function as the second chance for wave files.
#include <algorithm>
#include <cctype>

#include "alert/Alert.h"
#include "audio/Volume.h"
#include "model/Assert.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "platform/Services.h"

namespace wb {
namespace {

constexpr uint32_t kSndAsync = 0x01;
constexpr uint32_t kSndNoStop = 0x10;
constexpr int16_t kSoundByMci = 1;
constexpr int16_t kSoundBySystem = 2;

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
void CloseMedia(const std::string& mode) {
  if (mode == "playing") {
    Send("stop mymedia");
    Send("close mymedia");
  } else if (mode == "stopped") {
    Send("close mymedia");
  }
}

// The alarm is over: sound finished and blinking done. The alarm timer rests until the next alarm.
void EndAlarm() {
  TheAlarmTimers().alarmTimer.SetEnabled(false);
  RestoreVolumes();
  App().monitor.alarmSounding = false;
  App().monitor.activeIndex = -1;
}

}  // namespace

std::string QueryMediaMode() {
  WB_ASSERT(Svc().mci != nullptr);
  std::string reply;
  // A failed query means no device is open under the alias, whatever the buffer holds.
  if (Svc().mci->Send("status mymedia mode", &reply) != 0) return {};
  return reply.substr(0, reply.find('\0'));
}

void StartAlarmSound(const AlarmEntry& e) {
  // Only one sound at a time: whatever still has the alias (an older alarm, a test) goes.
  CloseMedia(QueryMediaMode());

  ApplyMidiVolume(uint32_t(e.MidiVolume));
  ApplyWaveVolume(uint32_t(e.WaveVolume));

  SendOpen(e.SoundFile);  // a refused file shows in the play result
  if (Send("play mymedia") == 0) {
    App().monitor.soundKind = kSoundByMci;
    return;
  }
  Send("close mymedia");
  if (IsWaveFile(e.SoundFile)) {
    Svc().sound->Play(e.SoundFile, kSndAsync | kSndNoStop);
    App().monitor.soundKind = kSoundBySystem;
  }
}

void SoundHalf() {
  const MonitorState& monitor = App().monitor;
  if (monitor.activeIndex == -1) return;
  const AlarmEntry& e = ActiveEntry();
  if (e.SoundFlag != 1) return;
  // Copied first: ending the alarm clears activeIndex.
  const int16_t blinkCount = e.BlinkCount;
  const bool endless = e.EndlessFlag == 1;

  const std::string mode = QueryMediaMode();
  if (mode == "stopped") {
    if (endless) {
      Send("play mymedia from 0");
      return;
    }
    Send("close mymedia");
    if (monitor.blinkCounter >= blinkCount) EndAlarm();
  } else if (mode.empty()) {
    if (monitor.blinkCounter >= blinkCount) EndAlarm();
  }
}

void DismissSoundRule() {
  const std::string mode = QueryMediaMode();
  if (mode == "playing" || mode == "stopped") {
    // A stopped device is closed too: an endless sound caught between its end and its
    // replay would otherwise start again on the next tick, after the user's OK.
    if (mode == "playing") Send("stop mymedia");
    Send("close mymedia");
  } else if (mode.empty() && App().monitor.soundKind == kSoundBySystem) {
    Svc().sound->Play("", kSndAsync);
  } else {
    return;
  }
  RestoreVolumes();
  App().monitor.alarmSounding = false;
}

void ShutDownSoundRule() {
  const MonitorState& monitor = App().monitor;
  if (monitor.activeIndex == -1 || ActiveEntry().SoundFlag != 1) return;
  const std::string mode = QueryMediaMode();
  CloseMedia(mode);
  if (mode.empty() && monitor.soundKind == kSoundBySystem) {
    Svc().sound->Play("", kSndAsync);
  }
}

void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume) {
  if (file.empty() || !Svc().launcher->FileExists(file)) {
    Svc().dialogs->MsgBox("指定されたファイルはありません", kOkOnly, kProgramTitle);
    return;
  }
  const std::string mode = QueryMediaMode();
  if (mode == "playing") {
    App().monitor.testPlaying = false;
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
    return;
  }
  if (mode == "stopped") Send("close mymedia");
  App().monitor.testPlaying = true;
  ApplyMidiVolume(midiVolume);
  ApplyWaveVolume(waveVolume);
  SendOpen(file);
  if (Send("play mymedia") != 0) Send("close mymedia");
}

void StopTestPlay() {
  MonitorState& monitor = App().monitor;
  const std::string mode = QueryMediaMode();
  if (!monitor.testPlaying) return;
  if (mode == "playing") {
    monitor.testPlaying = false;
    Send("stop mymedia");
    Send("close mymedia");
    RestoreVolumes();
  } else if (mode == "stopped") {
    // The device stays open; the next start, alarm or test, closes it first.
    monitor.testPlaying = false;
    RestoreVolumes();
  }
}

}  // namespace wb
