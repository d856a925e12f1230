// The stored sound flag of an entry and of the preferences has two readings, kept apart on
// purpose: files written by hand or by older versions may hold other values than 0 and 1, and
// such an entry shows 音を鳴らす ticked in the editor yet rings silently. Portable, header only.
#pragma once
#include <cstdint>

namespace wb {

// The editor's 音を鳴らす box: ticked for any flag but 0.
constexpr bool SoundBoxTicked(int16_t soundFlag) { return soundFlag != 0; }
// The alarm plays the entry's sound file only for exactly 1.
constexpr bool AlarmPlaysSound(int16_t soundFlag) { return soundFlag == 1; }

}  // namespace wb
