// When an alarm is over: a silent alarm or one whose wave the system sound function plays lasts
// as long as its window; a kept window stays in front whatever its sound did; an ended alarm
// hides nothing, holds nothing and leaves no sound behind.
#include "AlertFixture.h"
#include "audio/Volume.h"

namespace wb::test {
namespace {

enum class Sound { None, ShortMci, FallbackWave };

class AlarmEnd : public AlertTest {
 protected:
  AlarmEnd() {
    devices.AddWave("Speakers", 0x33333333);
    App().audio.waveDeviceName = "Speakers";
    App().monitor.startingUp = true;
    SaveWaveVolume();
    App().monitor.startingUp = false;
    mci.RefusedExtensions = {".wav"};  // a wave goes to the system sound function
  }
  // An entry with the sound, `blinks` blinks (0: no blinking) and the keep flag.
  static AlarmEntry Make(Sound sound, int blinks, bool keep) {
    AlarmEntry e = sound == Sound::None           ? Entry()
                   : sound == Sound::ShortMci     ? SoundEntry("C:\\chime.mp3")
                                                  : SoundEntry("C:\\chime.wav");
    e.BlinkFlag = blinks > 0 ? 1 : 0;
    e.BlinkCount = int16_t(blinks);
    e.KeepWindowFlag = keep ? 1 : 0;
    return e;
  }
  // One second of the alarm; a short MCI sound ends after its first second.
  void Second(int nth, Sound sound) {
    if (sound == Sound::ShortMci && nth == 1) mci.EndSound();
    Tick();
  }
  bool InProgress() const { return TheAlarm().Progress().activeSlot != -1; }
  bool VolumeAsBefore() const { return devices.Wave[0].volume == 0x33333333u; }
};

struct EndCase {
  const char* name;
  Sound sound;
  int blinks;
  bool keep;
  int dismissAt;  // OK pressed after this many seconds; -1 never
  int endsAt;     // the alarm is over by the tick after this many seconds
};

TEST_F(AlarmEnd, AnAlarmWithoutAWatchedSoundEndsWithItsWindowAndThenHidesNothing) {
  const EndCase cases[] = {
      {"silent, blinking, not kept: over when the last blink hid it", Sound::None, 2, false, -1, 3},
      {"silent, blinking, dismissed half way", Sound::None, 5, false, 3, 3},
      {"silent, blinking, kept: over at OK", Sound::None, 2, true, 9, 9},
      {"silent, no blinking: over at OK", Sound::None, 0, false, 6, 6},
      {"fallback wave, blinking, not kept", Sound::FallbackWave, 2, false, -1, 3},
      {"fallback wave, no blinking: plays until OK", Sound::FallbackWave, 0, false, 7, 7},
      {"fallback wave, blinking, kept", Sound::FallbackWave, 2, true, 8, 8},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    Present(Make(c.sound, c.blinks, c.keep));
    for (int s = 1; s <= c.endsAt; ++s) {
      EXPECT_TRUE(InProgress()) << "second " << s;
      EXPECT_TRUE(TheAlarm().Progress().sounding) << "second " << s;
      if (c.sound == Sound::FallbackWave) {
        EXPECT_EQ(systemSound.Playing, "C:\\chime.wav") << "second " << s;
      }
      Second(s, c.sound);
      if (s == c.dismissAt) Window().okButton.Press();
    }
    Tick();
    EXPECT_FALSE(InProgress());
    EXPECT_FALSE(TheAlarm().Progress().sounding);  // the editor's change and delete no longer wait
    EXPECT_FALSE(TheAlarm().Progress().blinkActive);
    EXPECT_FALSE(TheAlarm().Timers().alarmTimer.Enabled());
    EXPECT_EQ(systemSound.Playing, "");
    EXPECT_TRUE(VolumeAsBefore());

    TheAlarm().Preview(Entry("プレビュー"), "07:30");
    EXPECT_EQ(ShownEachSecond(3), (std::vector<bool>{true, true, true}));
    Window().okButton.Press();
  }
}

// Whatever its sound did, a kept window comes back to the front after its blinks and stays.
TEST_F(AlarmEnd, AKeptWindowStaysInFrontUntilDismissed) {
  for (Sound sound : {Sound::None, Sound::ShortMci, Sound::FallbackWave}) {
    SCOPED_TRACE(int(sound));
    foreground.Brought.clear();
    Present(Make(sound, 3, true));
    std::vector<bool> shown;
    for (int s = 1; s <= 10; ++s) {
      Second(s, sound);
      shown.push_back(WindowShown());
    }
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false, true, false, true, true, true, true, true}));
    EXPECT_EQ(foreground.Brought, std::vector<std::string>{"AlarmWindow"});
    Window().okButton.Press();
    Tick();
    EXPECT_FALSE(WindowShown());
    EXPECT_FALSE(InProgress());
    EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
    EXPECT_EQ(systemSound.Playing, "");
  }
}

}  // namespace
}  // namespace wb::test
