// Checker of the real Win32 services, run under Wine by services_test.sh: MCI, the system
// sound, the audio devices (this file), shell, registry, instance guard, tray and file
// replacement (the other services_check_* files). Prints one line per check and
// "N passed, N failed" at the end.
#include "services_check.h"

#include <mmsystem.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wbcheck {

using wb::win32::Narrow;

void Tally::Expect(bool ok, const std::string& what, const std::string& detail) {
  ++(ok ? passed : failed);
  std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  std::fflush(stdout);
}

void Tally::Skip(const std::string& what, const std::string& why) {
  ++skipped;
  std::printf("SKIP %s: %s\n", what.c_str(), why.c_str());
  std::fflush(stdout);
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
  return text;
}

bool HandShake(const Setup& setup, const std::wstring& name, DWORD timeoutMs) {
  if (setup.sync.empty()) return false;
  namespace fs = std::filesystem;
  const fs::path ready = fs::path(setup.sync) / (name + L".ready");
  const fs::path done = fs::path(setup.sync) / (name + L".done");
  std::ofstream(ready).put('\n');
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < until) {
    std::error_code ec;
    if (fs::exists(done, ec)) return true;
    Sleep(50);
  }
  return false;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount64() >= until) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool WriteWave(const std::wstring& path, int milliseconds) {
  constexpr uint32_t kRate = 22050;
  const uint32_t samples = kRate * uint32_t(milliseconds) / 1000;
  std::vector<uint8_t> bytes;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { bytes.push_back(uint8_t(v)); bytes.push_back(uint8_t(v >> 8)); };
  auto tag = [&](const char* t) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(t[i])); };
  tag("RIFF");
  put32(36 + samples * 2);
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(1);            // PCM
  put16(1);            // mono
  put32(kRate);
  put32(kRate * 2);    // bytes per second
  put16(2);            // block align
  put16(16);           // bits per sample
  tag("data");
  put32(samples * 2);
  for (uint32_t i = 0; i < samples; ++i)
    put16(uint16_t(int16_t(8000 * std::sin(2 * 3.14159265358979 * 880.0 * i / kRate))));
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

namespace {

std::string Mode(wb::IMci& mci, uint32_t* error = nullptr) {
  std::string reply = "(unset)";
  const uint32_t e = mci.Send("status mymedia mode", &reply);
  if (error) *error = e;
  return reply;
}

std::string OpenCommand(const std::wstring& file) { return "open \"" + Narrow(file) + "\" alias mymedia"; }

// Opens and plays `file` and expects MCI to say "playing"; leaves the device open.
bool OpenAndPlay(wb::IMci& mci, Tally& t, const std::wstring& file, const std::string& label) {
  const uint32_t open = mci.Send(OpenCommand(file));
  t.Expect(open == 0, label + ": open", "error " + std::to_string(open));
  const uint32_t play = mci.Send("play mymedia");
  t.Expect(play == 0, label + ": play", "error " + std::to_string(play));
  const std::string mode = Mode(mci);
  t.Expect(mode == "playing", label + ": status answers playing", "got '" + mode + "'");
  return open == 0 && play == 0;
}

void WaveThroughMci(wb::IMci& mci, Tally& t, const Setup& setup, const std::wstring& wave) {
  OpenAndPlay(mci, t, wave, "MCI wave");
  if (!setup.sync.empty())
    t.Expect(HandShake(setup, L"mci-playing"), "MCI wave: the script looked at the sound server");
  t.Expect(mci.Send("stop mymedia") == 0, "MCI wave: stop");
  std::string mode = Mode(mci);
  t.Expect(mode == "stopped", "MCI wave: status answers stopped after stop", "got '" + mode + "'");
  t.Expect(mci.Send("close mymedia") == 0, "MCI wave: close");
  uint32_t error = 0;
  mode = Mode(mci, &error);
  t.Expect(mode.empty(), "MCI: status answers empty once closed", "got '" + mode + "'");
  t.Expect(error != 0, "MCI: status of a closed alias reports an error");
}

void ShortWaveEnds(wb::IMci& mci, Tally& t, const std::wstring& shortWave) {
  // The alarm's repeat relies on "stopped" once the sound is over, and on "from 0" replaying it.
  OpenAndPlay(mci, t, shortWave, "MCI short wave");
  const bool ended = PumpUntil([&] { return Mode(mci) == "stopped"; }, 5000);
  t.Expect(ended, "MCI short wave: status answers stopped when the sound is over");
  t.Expect(mci.Send("play mymedia from 0") == 0, "MCI short wave: play from 0");
  const std::string mode = Mode(mci);
  t.Expect(mode == "playing", "MCI short wave: playing again after play from 0", "got '" + mode + "'");
  mci.Send("stop mymedia");
  mci.Send("close mymedia");
}

void BogusFiles(wb::IMci& mci, Tally& t, const std::wstring& scratch) {
  const std::wstring missing = scratch + L"missing.wav";
  t.Expect(mci.Send(OpenCommand(missing)) != 0, "MCI: opening a missing file fails");
  t.Expect(mci.Send("play mymedia") != 0, "MCI: play fails after the failed open");
  mci.Send("close mymedia");

  const std::wstring garbage = scratch + L"garbage.mp3";
  std::ofstream(std::filesystem::path(garbage), std::ios::binary) << std::string(4000, 'x');
  mci.Send(OpenCommand(garbage));
  const uint32_t play = mci.Send("play mymedia");
  t.Expect(play != 0, "MCI: a file that is no sound does not play", "error " + std::to_string(play));
  mci.Send("close mymedia");
  const std::string mode = Mode(mci);
  t.Expect(mode.empty(), "MCI: nothing left open after the failed play", "got '" + mode + "'");
}

void SystemSound(Tally& t, const std::wstring& wave, const std::wstring& shortWave, const std::wstring& scratch) {
  auto sound = wb::MakeWin32SystemSound();
  t.Expect(sound->Play(Narrow(shortWave), SND_SYNC | SND_NODEFAULT), "sndPlaySound: plays the short wave to its end");
  t.Expect(sound->Play(Narrow(wave), 0x11), "sndPlaySound: starts the wave (async, nostop)");
  Sleep(200);
  t.Expect(sound->Play("", 0x01), "sndPlaySound: no name stops the sound");
  t.Expect(!sound->Play(Narrow(scratch + L"missing.wav"), SND_SYNC | SND_NODEFAULT),
           "sndPlaySound: a missing file reports failure");
}

}  // namespace

void MediaChecks(Tally& t, const Setup& setup) {
  const std::wstring wave = setup.scratch + L"tone.wav";
  const std::wstring shortWave = setup.scratch + L"short.wav";
  const std::wstring japanese = setup.scratch + L"\u76EE\u899A\u307E\u3057 \u30A2\u30E9\u30FC\u30E0.wav";
  t.Expect(WriteWave(wave, 2000) && WriteWave(shortWave, 300) && WriteWave(japanese, 1500),
           "made the wave files");
  auto mci = wb::MakeWin32Mci();
  mci->Send("close mymedia");  // whatever a crashed run may have left
  WaveThroughMci(*mci, t, setup, wave);

  OpenAndPlay(*mci, t, japanese, "MCI wave with a Japanese name");
  mci->Send("stop mymedia");
  mci->Send("close mymedia");

  std::string length;
  mci->Send(OpenCommand(wave));
  mci->Send("set mymedia time format milliseconds");
  const uint32_t lengthError = mci->Send("status mymedia length", &length);
  t.Expect(lengthError == 0 && length == "2000", "MCI: reply text of a status query", "got '" + length + "'");
  mci->Send("close mymedia");

  ShortWaveEnds(*mci, t, shortWave);
  if (setup.mp3.empty()) {
    t.Skip("MCI mp3", "no MP3 was made (the script needs lame)");
  } else if (OpenAndPlay(*mci, t, setup.mp3, "MCI mp3")) {
    mci->Send("stop mymedia");
    mci->Send("close mymedia");
  } else {
    mci->Send("close mymedia");
  }
  BogusFiles(*mci, t, setup.scratch);
  SystemSound(t, wave, shortWave, setup.scratch);
}

// The name field of the device's ANSI capability record, decoded as the settings file is.
static std::string AnsiRecordName(int device) {
  WAVEOUTCAPSA caps{};
  if (waveOutGetDevCapsA(UINT_PTR(device), &caps, sizeof caps) != MMSYSERR_NOERROR) return "(no record)";
  const int length = int(strnlen(caps.szPname, sizeof caps.szPname));
  std::wstring wide(size_t(length), L'\0');
  wide.resize(size_t(MultiByteToWideChar(932, 0, caps.szPname, length, wide.data(), length)));
  return Narrow(wide);
}

void DeviceChecks(Tally& t) {
  auto devices = wb::MakeWin32AudioDevices();
  const int waves = devices->WaveCount();
  t.Expect(waves >= 1, "wave devices: at least one", std::to_string(waves));
  for (int d = 0; d < waves; ++d) {
    const wb::DeviceCaps caps = devices->WaveCaps(d);
    const std::string label = "wave device " + std::to_string(d) + " (" + caps.name + ")";
    t.Expect(caps.result == 0 && !caps.name.empty(), label + ": capabilities with a name");
    t.Expect(caps.name == AnsiRecordName(d), label + ": named as the ANSI record names it",
             AnsiRecordName(d));
    if (!(caps.support & WAVECAPS_VOLUME)) {
      t.Skip(label + ": volume", "the device has no volume control");
      continue;
    }
    uint32_t before = 0, after = 0;
    const uint32_t readError = devices->WaveGetVolume(d, before);
    t.Expect(readError == 0, label + ": read the volume", Hex(before) + ", error " + std::to_string(readError));
    const uint32_t wanted = before == 0x40004000 ? 0x90009000 : 0x40004000;
    const uint32_t setError = devices->WaveSetVolume(d, wanted);
    t.Expect(setError == 0, label + ": set the volume", "error " + std::to_string(setError));
    devices->WaveGetVolume(d, after);
    t.Expect(after == wanted, label + ": the volume reads back as set", Hex(after) + " for " + Hex(wanted));
    devices->WaveSetVolume(d, before);
  }
  const wb::DeviceCaps beyond = devices->WaveCaps(waves);
  t.Expect(beyond.result != 0 && beyond.name.empty(), "wave devices: a number past the last fails");
  uint32_t volume = 1;
  t.Expect(devices->WaveGetVolume(-1, volume) != 0 && volume == 0, "wave devices: a negative number fails");

  // Wine has no MIDI output without a sequencer; then every call must report the failure.
  const int midis = devices->MidiCount();
  if (midis == 0) {
    t.Expect(devices->MidiCaps(0).result != 0, "MIDI: capabilities of a missing device fail");
    volume = 1;
    t.Expect(devices->MidiGetVolume(0, volume) != 0 && volume == 0, "MIDI: volume of a missing device fails");
    t.Expect(devices->MidiSetVolume(0, 0x80008000) != 0, "MIDI: setting a missing device fails");
  } else {
    for (int d = 0; d < midis; ++d)
      t.Expect(devices->MidiCaps(d).result == 0, "MIDI device " + std::to_string(d) + ": capabilities");
  }
}

}  // namespace wbcheck

namespace {

std::wstring MakeScratch() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder = std::wstring(temp, n) + L"wb-services-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  std::filesystem::create_directories(std::filesystem::path(folder));
  return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace wbcheck;
  std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == L"--make-wav") return WriteWave(args[1], 2000) ? 0 : 1;
  if (args.size() == 1 && args[0] == L"--probe-instance") return ProbeInstanceMode();
  if (args.size() == 3 && args[0] == L"--hold-instance") return HoldInstanceMode(args[1], args[2]);

  Setup setup;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == L"--mp3" && i + 1 < args.size()) setup.mp3 = args[++i];
    else if (args[i] == L"--sync" && i + 1 < args.size()) setup.sync = args[++i];
    else if (args[i] == L"--registry") setup.registry = true;
    else if (args[i] == L"--tray-click") setup.trayClick = true;
  }
  setup.scratch = MakeScratch();

  Tally t;
  InstanceChecks(t);
  MediaChecks(t, setup);
  DeviceChecks(t);
  ShellChecks(t, setup);
  RegistryChecks(t, setup);
  TrayChecks(t, setup);
  FileChecks(t, setup);

  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(setup.scratch), ec);
  std::printf("%d passed, %d failed, %d skipped\n", t.passed, t.failed, t.skipped);
  return t.failed == 0 ? 0 : 1;
}
