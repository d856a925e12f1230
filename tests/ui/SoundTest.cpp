// Sound through the one MCI alias: the command strings of every rule in order, endless
// replay, the end of an alarm, the wave fallback, the test playback, and the volumes an alarm
// sets and gives back.
#include "AlertFixture.h"
#include "audio/Volume.h"

namespace wb::test {
namespace {

using Strings = std::vector<std::string>;
const std::string kStatus = "mci status mymedia mode";

class SoundTest : public AlertTest {
 protected:
  SoundTest() {
    devices.AddMidi("Synth", 0x11111111);
    devices.AddMidi("Mapper", 0x22222222);
    devices.AddWave("Speakers", 0x33333333);
    ChooseMidiDevice("Mapper");
    ChooseWaveDevice("Speakers");
    SaveMidiVolume(DeviceFrom::Choice);
    SaveWaveVolume(DeviceFrom::Choice);
    mci.RefusedExtensions = {".mid", ".wav"};  // no driver for these on this "machine"
  }
  Strings Take() {
    Strings out;
    out.swap(journal);
    return out;
  }
  bool VolumesAsBefore() const {
    return devices.Midi[1].volume == 0x22222222u && devices.Wave[0].volume == 0x33333333u;
  }
};

TEST_F(SoundTest, AlarmSetsVolumesThenOpensAndPlays) {
  Present(SoundEntry("C:\\音\\bell.mp3"));
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 0 40004000", "midi 1 40004000", "wave 0 60006000",
                             "mci open \"C:\\音\\bell.mp3\" alias mymedia", "mci play mymedia"}));
  EXPECT_EQ(TheAlarm().Progress().soundKind, SoundKind::Mci);
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
}

TEST_F(SoundTest, NoSoundWithoutTheFlagOrAFile) {
  AlarmEntry off = SoundEntry("C:\\bell.mp3");
  off.Sound.Flag = 0;
  Present(off);
  Present(SoundEntry(""));
  EXPECT_TRUE(journal.empty());
}

TEST_F(SoundTest, EndlessSoundReplaysUntilOkThenTheAlarmEnds) {
  Present(SoundEntry("C:\\bell.mp3", true));
  Take();
  Tick();
  EXPECT_EQ(Take(), Strings{kStatus});  // playing: nothing to do
  for (int round = 0; round < 3; ++round) {
    mci.EndSound();
    Tick();
    EXPECT_EQ(Take(), (Strings{kStatus, "mci play mymedia from 0"}));
  }
  EXPECT_EQ(mci.Plays(), 4);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);

  Window().okButton.Press();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222",
                             "wave 0 33333333"}));
  EXPECT_FALSE(TheAlarm().Progress().sounding);
  Tick();  // the device is closed and the blinking done: the alarm is over
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
  EXPECT_FALSE(TheAlarm().Timers().alarmTimer.Enabled());
  Take();
  Tick(3);
  EXPECT_TRUE(Take().empty());
}

TEST_F(SoundTest, DismissBetweenTheEndAndTheReplayOfAnEndlessSoundSilencesIt) {
  Present(SoundEntry("C:\\chime.mp3", true));
  mci.EndSound();  // the short sound just ended; the replay would come with the next tick
  Take();
  Window().okButton.Press();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci close mymedia", "midi 1 22222222", "wave 0 33333333"}));
  EXPECT_FALSE(TheAlarm().Progress().sounding);
  Tick(3);
  EXPECT_EQ(mci.Plays(), 1);
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
}

TEST_F(SoundTest, OnceSoundEndsTheAlarmOnlyWhenTheBlinkingIsDoneToo) {
  AlarmEntry e = SoundEntry("C:\\bell.mp3");
  e.BlinkFlag = 1;
  e.BlinkCount = 3;
  Present(e);
  Take();
  Tick();
  mci.EndSound();
  Tick();  // stopped: closed, but two blinks still to come
  EXPECT_EQ(Take(), (Strings{kStatus, kStatus, "mci close mymedia"}));
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
  EXPECT_TRUE(TheAlarm().Progress().sounding);
  Tick(2);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
  EXPECT_FALSE(VolumesAsBefore());
  Tick();  // third blink hidden: counter 3, device closed
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 3);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
  EXPECT_FALSE(TheAlarm().Progress().sounding);
  EXPECT_TRUE(VolumesAsBefore());
  EXPECT_EQ(devices.Midi[0].volume, 0x40004000u);  // only the chosen MIDI device is given back
}

TEST_F(SoundTest, UpperCaseWavRefusedByMciPlaysOnceThroughTheSystemSoundAndStops) {
  Present(SoundEntry("C:\\Alarm.WAV", true));
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 0 40004000", "midi 1 40004000", "wave 0 60006000",
                             "mci open \"C:\\Alarm.WAV\" alias mymedia", "mci play mymedia",
                             "mci close mymedia", "sound C:\\Alarm.WAV 17"}));
  EXPECT_EQ(TheAlarm().Progress().soundKind, SoundKind::System);
  EXPECT_EQ(systemSound.Playing, "C:\\Alarm.WAV");
  // Nothing can say when the wave ends: the alarm lasts as long as its window, the wave at
  // the alarm's volumes, and MCI is not asked.
  Tick(2);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
  EXPECT_EQ(systemSound.Playing, "C:\\Alarm.WAV");

  Window().okButton.Press();
  EXPECT_EQ(Take(), (Strings{kStatus, "sound  1", "midi 1 22222222", "wave 0 33333333"}));
  EXPECT_EQ(systemSound.Playing, "");
  Tick();
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
  EXPECT_TRUE(VolumesAsBefore());
}

TEST_F(SoundTest, RefusedMidiStaysSilentWithTheWindowShown) {
  Present(SoundEntry("C:\\first.mp3"));
  Window().okButton.Press();
  Take();
  ASSERT_EQ(TheAlarm().Progress().soundKind, SoundKind::Mci);
  Present(SoundEntry("C:\\song.mid"));
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 0 40004000", "midi 1 40004000", "wave 0 60006000",
                             "mci open \"C:\\song.mid\" alias mymedia", "mci play mymedia",
                             "mci close mymedia"}));
  EXPECT_TRUE(systemSound.Calls.empty());
  EXPECT_EQ(TheAlarm().Progress().soundKind, SoundKind::None);  // nothing plays it, whatever played before
  EXPECT_TRUE(WindowShown());
}

TEST_F(SoundTest, AlarmReplacingAPlayingOneClosesItFirst) {
  Present(SoundEntry("C:\\first.mp3", true));
  Take();
  Present(SoundEntry("C:\\second.mp3"));
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 0 40004000",
                             "midi 1 40004000", "wave 0 60006000",
                             "mci open \"C:\\second.mp3\" alias mymedia", "mci play mymedia"}));
  EXPECT_EQ(mci.OpenFile(), "C:\\second.mp3");
}

TEST_F(SoundTest, SilentAlarmReplacingASoundingOneSilencesItAndRestoresTheVolumes) {
  Present(SoundEntry("C:\\first.mp3", true));
  Take();
  Present(Entry("音なし"));
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222",
                             "wave 0 33333333"}));
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  EXPECT_TRUE(TheAlarm().Progress().sounding);  // the new alarm is in progress
  Window().okButton.Press();
  EXPECT_FALSE(TheAlarm().Progress().sounding);
}

// The end of the program stops the sound as the device is found, then gives every volume back.
TEST_F(SoundTest, ShutDownStopsTheSoundForEachDeviceState) {
  Present(SoundEntry("C:\\a.mp3"));
  Take();
  TheAlarm().ShutDown();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222", "wave 0 33333333"}));

  Present(SoundEntry("C:\\a.mp3"));
  mci.EndSound();
  Take();
  TheAlarm().ShutDown();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci close mymedia", "midi 1 22222222", "wave 0 33333333"}));

  Present(SoundEntry("C:\\a.wav"));
  Take();
  TheAlarm().ShutDown();
  EXPECT_EQ(Take(), (Strings{kStatus, "sound  1", "midi 1 22222222", "wave 0 33333333"}));

  Window().okButton.Press();
  Tick();  // the alarm is over
  ASSERT_FALSE(TheAlarm().InProgress());
  TheAlarm().ShutDown();
  Present(Entry());
  Take();
  TheAlarm().ShutDown();  // no sound in progress: the sound device is not asked
  EXPECT_EQ(Take(), (Strings{"midi 1 22222222", "wave 0 33333333"}));
}

TEST_F(SoundTest, TestPlayStartsAtTheSliderVolumesAndASecondPressStops) {
  launcher.Files = {"C:\\test.mp3"};
  TheAlarm().ToggleTestPlay("C:\\test.mp3", VolumeFromSlider(0), VolumeFromSlider(32767));
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 0 80008000", "midi 1 80008000", "wave 0 FFFFFFFF",
                             "mci open \"C:\\test.mp3\" alias mymedia", "mci play mymedia"}));
  EXPECT_TRUE(TheAlarm().Progress().testPlaying);
  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0, 0);
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222",
                             "wave 0 33333333"}));
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
}

TEST_F(SoundTest, TestPlayAfterTheSoundEndedReopensAndAFailureCloses) {
  launcher.Files = {"C:\\test.mp3", "C:\\song.mid"};
  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0x10001, 0x10001);
  mci.EndSound();
  Take();
  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0x10001, 0x10001);
  EXPECT_EQ(Take(), (Strings{kStatus, "mci close mymedia", "midi 0 00010001", "midi 1 00010001",
                             "wave 0 00010001", "mci open \"C:\\test.mp3\" alias mymedia",
                             "mci play mymedia"}));
  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0x10001, 0x10001);
  Take();
  TheAlarm().ToggleTestPlay("C:\\song.mid", 0x10001, 0x10001);  // no fallback for a test
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 0 00010001", "midi 1 00010001", "wave 0 00010001",
                             "mci open \"C:\\song.mid\" alias mymedia", "mci play mymedia",
                             "mci close mymedia"}));
  EXPECT_TRUE(systemSound.Calls.empty());
}

TEST_F(SoundTest, TestPlayOfAMissingFileSaysSoAndTouchesNothing) {
  TheAlarm().ToggleTestPlay("C:\\gone.mp3", 0, 0);
  TheAlarm().ToggleTestPlay("", 0, 0);
  ASSERT_EQ(dialogs.Asked.size(), 2u);
  EXPECT_EQ(dialogs.Asked[0].text, "指定されたファイルはありません");
  EXPECT_EQ(dialogs.Asked[0].style, kOkOnly);
  EXPECT_TRUE(journal.empty());
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
}

TEST_F(SoundTest, StopTestPlayByDeviceState) {
  launcher.Files = {"C:\\test.mp3"};
  TheAlarm().StopTestPlay();  // nothing plays
  EXPECT_EQ(Take(), Strings{kStatus});

  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0, 0);
  Take();
  TheAlarm().StopTestPlay();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222",
                             "wave 0 33333333"}));
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);

  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0, 0);
  mci.EndSound();
  Take();
  TheAlarm().StopTestPlay();  // finished on its own: volumes back, the device stays open
  EXPECT_EQ(Take(), (Strings{kStatus, "midi 1 22222222", "wave 0 33333333"}));
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Stopped);
}

TEST_F(SoundTest, AlarmDuringATestPlayTakesTheDeviceOver) {
  launcher.Files = {"C:\\test.mp3"};
  TheAlarm().ToggleTestPlay("C:\\test.mp3", 0, 0);
  Take();
  Present(SoundEntry("C:\\alarm.mp3"));
  Strings got = Take();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ((Strings{got[0], got[1], got[2]}), (Strings{kStatus, "mci stop mymedia", "mci close mymedia"}));
  EXPECT_EQ(mci.OpenFile(), "C:\\alarm.mp3");
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
}

TEST_F(SoundTest, CloseBoxStopsTheSoundLikeOk) {
  Present(SoundEntry("C:\\bell.mp3", true));
  Take();
  Window().RequestClose();
  EXPECT_EQ(Take(), (Strings{kStatus, "mci stop mymedia", "mci close mymedia", "midi 1 22222222",
                             "wave 0 33333333"}));
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);
  Tick();
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
}

}  // namespace
}  // namespace wb::test
