// The stored sound, endless and blink flags of an entry and of the preferences have two
// readings each, kept apart on purpose: files written by hand or by older versions may hold
// other values than 0 and 1, and such an entry shows 音を鳴らす ticked in the editor yet rings
// silently. Portable, header only.
#pragma once
#include <cstdint>

namespace wb {

// The editor's 音を鳴らす box: ticked for any flag but 0.
constexpr bool SoundBoxTicked(int16_t soundFlag) { return soundFlag != 0; }
// The alarm plays the entry's sound file only for exactly 1.
constexpr bool AlarmPlaysSound(int16_t soundFlag) { return soundFlag == 1; }

// The endless flag reads the same two ways: the editor's エンドレス box ticked for any flag but
// 0, the sound played over and over only for exactly 1.
constexpr bool EndlessBoxTicked(int16_t endlessFlag) { return endlessFlag != 0; }
constexpr bool AlarmPlaysEndlessly(int16_t endlessFlag) { return endlessFlag == 1; }

// And the blink flag: the 点滅 box ticked for any flag but 0; the window blinks, and the
// editor offers the blink count with the preferences' flag, only for exactly 1.
constexpr bool BlinkBoxTicked(int16_t blinkFlag) { return blinkFlag != 0; }
constexpr bool AlarmBlinks(int16_t blinkFlag) { return blinkFlag == 1; }

}  // namespace wb
