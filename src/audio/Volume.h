// Device volumes: the chosen MIDI and wave output devices by name, reading, applying for an
// alarm, restoring afterwards, and the editor sliders' conversions. Portable logic over the
// audio-device service; it never creates the editor, whose device lists it reads through
// App().hooks (while the editor's lists are not in use the chosen device names
// midiDeviceName and waveDeviceName stand in for them).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace wb {
namespace ui { class HScrollBar; }

// Reads the present volume of the wanted device (low half meaningful); 0 when no usable
// device carries the name. Records the name of a device found under it.
uint32_t ReadMidiVolume();
uint32_t ReadWaveVolume();
void SaveMidiVolume();
void SaveWaveVolume();
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

// The wave device name the editor's list selects on loading: the last device named
// waveDeviceName, else device 0; "" when there is no wave device.
std::string WaveListDefaultName();

// Slider range is -32767..32767; both channels are written equal, the left one is read.
constexpr int kSliderMin = -32767;
constexpr int kSliderMax = 32767;
uint32_t VolumeFromSlider(int position);
int SliderPositionOfVolume(uint32_t volume);
void ShowVolumeOnSlider(ui::HScrollBar& slider, uint32_t volume);

}  // namespace wb
