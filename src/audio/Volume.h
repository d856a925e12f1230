// Device volumes: the chosen MIDI and wave output devices by name, reading, applying for an
// alarm, restoring afterwards, and the editor sliders' conversions. Portable logic over the
// audio-device service.
#pragma once
#include <cstdint>
#include <string>

namespace wb {
namespace ui { class HScrollBar; }

uint32_t ReadMidiVolume();
uint32_t ReadWaveVolume();
void SaveMidiVolume();
void SaveWaveVolume();
void RestoreMidiVolume();
void RestoreWaveVolume();
void ApplyMidiVolume(uint32_t volume);
void ApplyWaveVolume(uint32_t volume);

uint32_t VolumeFromSlider(int position);
int SliderPositionOfVolume(uint32_t volume);
void ShowVolumeOnSlider(ui::HScrollBar& slider, uint32_t volume);

}  // namespace wb
