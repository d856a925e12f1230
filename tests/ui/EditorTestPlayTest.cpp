// The editor's test play shares the one sound device with the alarms: the test's flag says
// only "a test plays now", so closing the editor or moving a slider never touches an alarm's
// sound, and 終了 stops a test that plays.
#include "EditorFixture.h"
#include "alert/AlarmWindow.h"
#include "alert/Alarm.h"
#include "support/SampleEntries.h"

namespace wb::test {
namespace {

class EditorTestPlay : public EditorTest {
 protected:
  EditorTestPlay() {
    devices.AddWave("Speakers", 0x22222222);
    SetSetting(ProgramIni(), "WAVENM", "Speakers");
    launcher.Files = {"C:\\chime.mp3", "C:\\song.mid"};
    mci.RefusedExtensions = {".mid"};
  }
  EditorWindow& StartTest(const std::string& file) {
    EditorWindow& w = Open();
    w.soundCheck.SetValue(ui::CheckState::Ticked);
    w.soundFileEdit.SetText(file);
    w.testPlayButton.Press();
    return w;
  }
  void PresentSoundingAlarm() {
    const int slot = App().table.Add(WithSound(LookEntry("会議"), "C:\\alarm.mp3", true, 0x40004000, 0x50005000));
    TheAlarm().Present(slot, true, "07:30");
  }
  bool AlarmStillSounds() const {
    return mci.GetState() == fake::FakeMci::State::Playing && mci.OpenFile() == "C:\\alarm.mp3" &&
           devices.Wave[0].volume == 0x50005000u && TheAlarm().Progress().sounding;
  }
};

struct TestThenAlarm {
  const char* name;
  const char* file;
  bool endsBeforeTheAlarm;
  bool closeByOk;  // the editor's ＯＫ; otherwise its close box
};

TEST_F(EditorTestPlay, ClosingTheEditorLeavesAnAlarmsSoundAlone) {
  const TestThenAlarm cases[] = {
      {"a test that ran to its end, then ＯＫ", "C:\\chime.mp3", true, true},
      {"a test that ran to its end, then the close box", "C:\\chime.mp3", true, false},
      {"a test the alarm took the device from, then ＯＫ", "C:\\chime.mp3", false, true},
      {"a test the alarm took the device from, then the close box", "C:\\chime.mp3", false, false},
      {"a test that could not play, then ＯＫ", "C:\\song.mid", false, true},
  };
  for (const TestThenAlarm& c : cases) {
    SCOPED_TRACE(c.name);
    EditorWindow& w = StartTest(c.file);
    if (c.endsBeforeTheAlarm) mci.EndSound();
    PresentSoundingAlarm();
    EXPECT_FALSE(TheAlarm().Progress().testPlaying);
    w.waveVolumeSlider.SetValue(-32767);  // the alarm's volume is not the slider's
    EXPECT_TRUE(AlarmStillSounds());
    if (c.closeByOk)
      w.saveAndCloseButton.Press();
    else
      w.RequestClose();
    EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
    EXPECT_TRUE(AlarmStillSounds());
    ui::TheForm<AlarmWindow>().okButton.Press();
    Seconds(1);
    ASSERT_EQ(TheAlarm().Progress().activeSlot, -1);
  }
}

TEST_F(EditorTestPlay, ExitStopsAPlayingTestAndGivesTheVolumeBack) {
  EditorWindow& w = StartTest("C:\\chime.mp3");
  w.waveVolumeSlider.SetValue(32767);  // acts at once while the test plays
  ASSERT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
  ASSERT_EQ(devices.Wave[0].volume, 0xFFFFFFFFu);
  Start().exitItem->Choose();
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  EXPECT_EQ(devices.Wave[0].volume, 0x22222222u);
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
}

// Like every other message box of the editor: the repaint behind it keeps the focus where it is.
TEST_F(EditorTestPlay, AMissingFileIsSaidWithoutTheRepaintTakingTheFocus) {
  EditorWindow& w = Open();
  w.soundCheck.SetValue(ui::CheckState::Ticked);
  w.soundFileEdit.SetText("C:\\gone.mp3");
  w.testPlayButton.SetFocus();
  std::string focusedBehindTheBox;
  dialogs.OnAsk = [&](const fake::FakeDialogs::Question&) {
    w.RaisePaint();
    focusedBehindTheBox = Focused(w);
  };
  w.testPlayButton.Press();
  EXPECT_EQ(LastMessage(), "指定されたファイルはありません");
  EXPECT_EQ(focusedBehindTheBox, "testPlayButton");
  EXPECT_FALSE(App().editor.dialogOpen);
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
}

}  // namespace
}  // namespace wb::test
