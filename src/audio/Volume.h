// Device volumes: the chosen MIDI and wave output devices by name, reading, applying for an
// alarm, restoring afterwards, and the editor sliders' conversions. Portable logic over the
// audio-device service. The audio part owns what it remembers (the chosen devices, the volumes
// to give back, what the editor's lists select) and alone writes it; it never calls up into
// the editor: the editor tells it what its lists select.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/Preferences.h"

namespace wb {
namespace ui { class HScrollBar; }

// The devices chosen for the entries' volumes (the settings' MIDINM and WAVENM); "" while
// none was chosen.
const std::string& ChosenMidiDevice();
const std::string& ChosenWaveDevice();
// Takes a device as the chosen one; "" (a list of a kind the machine has no device of) keeps
// the name there is.
void ChooseMidiDevice(const std::string& name);
void ChooseWaveDevice(const std::string& name);
// The chosen names as the settings hold them (start-up), and into both settings files.
void TakeStoredDevices(const Preferences& stored);
void WriteChosenDevices();

// What the editor's device lists select while they are in use ("" for a list without a
// device); nullopt when they are not (the editor is not loaded): the chosen names then stand
// in for them. The editor says so at every change of its lists.
void SetEditorListDevices(std::optional<std::string> midi, std::optional<std::string> wave);

// Whose device a volume is read from: the one the editor's list selects while its lists are
// in use (else the chosen one), or the chosen one whatever the lists show (start-up).
enum class DeviceFrom { EditorLists, Choice };

// Reads the present volume of the wanted device (low half meaningful); 0 when no usable
// device carries the name. Records the name of a device found under it.
uint32_t ReadMidiVolume(DeviceFrom from = DeviceFrom::EditorLists);
uint32_t ReadWaveVolume(DeviceFrom from = DeviceFrom::EditorLists);
// Reads and keeps the volume to give back later.
void SaveMidiVolume(DeviceFrom from = DeviceFrom::EditorLists);
void SaveWaveVolume(DeviceFrom from = DeviceFrom::EditorLists);
// The volume kept by the last Save and the name of the device it was read from ("" before
// any device was found).
uint32_t SavedMidiVolume();
uint32_t SavedWaveVolume();
const std::string& SavedMidiDevice();
const std::string& SavedWaveDevice();
// Gives the saved volume back to the device it was read from.
void RestoreMidiVolume();
void RestoreWaveVolume();
// An alarm's or a test's volume: every MIDI device; the chosen wave device.
void ApplyMidiVolume(uint32_t volume);
void ApplyWaveVolume(uint32_t volume);

// What the device lists offer, in device order: the MIDI devices whose volume can be read
// (a device without one could never be set or restored), and every wave device.
std::vector<std::string> MidiDevicesWithVolume();
std::vector<std::string> WaveDeviceNames();
// The system's volume mixer, when the machine has it where older systems kept it.
void OpenSystemMixer();

// The wave device name the editor's list selects on loading: the last device of the chosen
// name, else device 0; "" when there is no wave device.
std::string WaveListDefaultName();

// Slider range is -32767..32767; both channels are written equal, the left one is read.
constexpr int kSliderMin = -32767;
constexpr int kSliderMax = 32767;
uint32_t VolumeFromSlider(int position);
int SliderPositionOfVolume(uint32_t volume);
void ShowVolumeOnSlider(ui::HScrollBar& slider, uint32_t volume);

void ResetAudioState();  // tests: a freshly started process

}  // namespace wb
