#include "audio/Volume.h"

#include <algorithm>
#include <optional>

#include "model/Assert.h"
#include "app_state/AppState.h"
#include "platform/Controls.h"
#include "platform/Services.h"
#include "storage/Settings.h"

namespace wb {
namespace {

// What the audio part remembers for the process.
struct AudioState {
  std::string midiDeviceName, waveDeviceName;  // chosen
  std::optional<std::string> editorMidi, editorWave;  // the editor's lists, while in use
  uint32_t savedMidiVolume = 0, savedWaveVolume = 0;
  std::string savedMidiDeviceName, savedWaveDeviceName;
};

AudioState& Audio() {
  static AudioState state;
  return state;
}

constexpr uint32_t kMidiCapsVolume = 0x0001;
constexpr uint32_t kWaveCapsVolume = 0x0004;

// MIDI and wave devices differ only in which service calls and which flag they use, so the
// scans below are written once over this.
struct DeviceKind {
  int (IAudioDevices::*count)();
  DeviceCaps (IAudioDevices::*caps)(int);
  uint32_t (IAudioDevices::*getVolume)(int, uint32_t&);
  uint32_t (IAudioDevices::*setVolume)(int, uint32_t);
  uint32_t volumeFlag;
};
constexpr DeviceKind kMidi{&IAudioDevices::MidiCount, &IAudioDevices::MidiCaps,
                           &IAudioDevices::MidiGetVolume, &IAudioDevices::MidiSetVolume, kMidiCapsVolume};
constexpr DeviceKind kWave{&IAudioDevices::WaveCount, &IAudioDevices::WaveCaps,
                           &IAudioDevices::WaveGetVolume, &IAudioDevices::WaveSetVolume, kWaveCapsVolume};

IAudioDevices& Devices() {
  WB_ASSERT(Svc().devices != nullptr);
  return *Svc().devices;
}

bool Usable(const DeviceCaps& caps, const DeviceKind& kind) {
  return caps.result == 0 && (caps.support & kind.volumeFlag) != 0;
}

// A device whose capability call failed reports no name, so it never matches one.
bool Named(const DeviceCaps& caps, const std::string& name) {
  return caps.result == 0 && caps.name == name;
}

uint32_t Read(const DeviceKind& kind, const std::string& wanted, std::string& savedName) {
  IAudioDevices& dev = Devices();
  const int count = (dev.*kind.count)();
  for (int i = 0; i < count; ++i) {
    DeviceCaps caps = (dev.*kind.caps)(i);
    if (!Named(caps, wanted)) continue;
    savedName = caps.name;
    if (!Usable(caps, kind)) continue;
    uint32_t volume = 0;
    if ((dev.*kind.getVolume)(i, volume) != 0) volume = 0;
    return volume;
  }
  return 0;
}

// Gives `volume` to the first usable device named `name`; nothing when there is none.
void SetFirstNamed(const DeviceKind& kind, const std::string& name, uint32_t volume) {
  IAudioDevices& dev = Devices();
  const int count = (dev.*kind.count)();
  for (int i = 0; i < count; ++i) {
    DeviceCaps caps = (dev.*kind.caps)(i);
    if (Named(caps, name) && Usable(caps, kind)) {
      (dev.*kind.setVolume)(i, volume);
      return;
    }
  }
}

const std::string& WantedName(DeviceFrom from, const std::optional<std::string>& listed, const std::string& chosen) {
  return from == DeviceFrom::EditorLists && listed ? *listed : chosen;
}

}  // namespace

const std::string& ChosenMidiDevice() { return Audio().midiDeviceName; }
const std::string& ChosenWaveDevice() { return Audio().waveDeviceName; }
void ChooseMidiDevice(const std::string& name) {
  if (!name.empty()) Audio().midiDeviceName = name;
}
void ChooseWaveDevice(const std::string& name) {
  if (!name.empty()) Audio().waveDeviceName = name;
}
void TakeStoredDevices(const Preferences& stored) {
  Audio().midiDeviceName = stored.midiDevice;
  Audio().waveDeviceName = stored.waveDevice;
}
void WriteChosenDevices() {
  Preferences devices;
  devices.midiDevice = Audio().midiDeviceName;
  devices.waveDevice = Audio().waveDeviceName;
  WriteSettingsToBoth(App().programFolder, App().dataPath, devices, devices.midiDevice, devices.waveDevice);
}

void SetEditorListDevices(std::optional<std::string> midi, std::optional<std::string> wave) {
  Audio().editorMidi = std::move(midi);
  Audio().editorWave = std::move(wave);
}

uint32_t ReadMidiVolume(DeviceFrom from) {
  AudioState& audio = Audio();
  return Read(kMidi, WantedName(from, audio.editorMidi, audio.midiDeviceName), audio.savedMidiDeviceName);
}
uint32_t ReadWaveVolume(DeviceFrom from) {
  AudioState& audio = Audio();
  return Read(kWave, WantedName(from, audio.editorWave, audio.waveDeviceName), audio.savedWaveDeviceName);
}

void SaveMidiVolume(DeviceFrom from) { Audio().savedMidiVolume = ReadMidiVolume(from); }
void SaveWaveVolume(DeviceFrom from) { Audio().savedWaveVolume = ReadWaveVolume(from); }
uint32_t SavedMidiVolume() { return Audio().savedMidiVolume; }
uint32_t SavedWaveVolume() { return Audio().savedWaveVolume; }
const std::string& SavedMidiDevice() { return Audio().savedMidiDeviceName; }
const std::string& SavedWaveDevice() { return Audio().savedWaveDeviceName; }

void RestoreMidiVolume() { SetFirstNamed(kMidi, Audio().savedMidiDeviceName, Audio().savedMidiVolume); }
void RestoreWaveVolume() { SetFirstNamed(kWave, Audio().savedWaveDeviceName, Audio().savedWaveVolume); }

void ApplyMidiVolume(uint32_t volume) {
  IAudioDevices& dev = Devices();
  const int count = dev.MidiCount();
  for (int i = 0; i < count; ++i) dev.MidiSetVolume(i, volume);
}

std::vector<std::string> MidiDevicesWithVolume() {
  IAudioDevices& dev = Devices();
  std::vector<std::string> names;
  for (int i = 0, count = dev.MidiCount(); i < count; ++i) {
    uint32_t volume = 0;
    if (dev.MidiGetVolume(i, volume) == 0) names.push_back(dev.MidiCaps(i).name);
  }
  return names;
}

std::vector<std::string> WaveDeviceNames() {
  IAudioDevices& dev = Devices();
  std::vector<std::string> names;
  for (int i = 0, count = dev.WaveCount(); i < count; ++i) names.push_back(dev.WaveCaps(i).name);
  return names;
}

void OpenSystemMixer() {
  const std::string mixer = Svc().shell->Environment("windir") + "\\Sndvol32.exe";
  if (Svc().launcher->FileExists(mixer)) Svc().launcher->Start("Sndvol32.exe");
}

std::string WaveListDefaultName() {
  IAudioDevices& dev = Devices();
  const int count = dev.WaveCount();
  if (count <= 0) return {};
  int chosen = 0;
  for (int i = 0; i < count; ++i)
    if (Named(dev.WaveCaps(i), Audio().waveDeviceName)) chosen = i;
  DeviceCaps caps = dev.WaveCaps(chosen);
  return caps.result == 0 ? caps.name : std::string();
}

void ApplyWaveVolume(uint32_t volume) {
  const std::string name = Audio().editorWave.value_or(WaveListDefaultName());
  SetFirstNamed(kWave, name, volume);
}

uint32_t VolumeFromSlider(int position) {
  const uint32_t half = uint32_t(std::clamp(position, kSliderMin, kSliderMax) + 32768);
  return (half << 16) | half;
}

// A silent left channel (0) would be -32768, one below the slider's minimum; it shows at the
// minimum instead, which is the quietest position the slider can take.
int SliderPositionOfVolume(uint32_t volume) {
  return std::max(kSliderMin, int(volume & 0xFFFF) - 32768);
}

void ShowVolumeOnSlider(ui::HScrollBar& slider, uint32_t volume) {
  slider.SetValue(SliderPositionOfVolume(volume));
}

void ResetAudioState() { Audio() = AudioState{}; }

}  // namespace wb
