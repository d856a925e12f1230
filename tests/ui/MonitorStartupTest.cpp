// Start-up of the monitor: the instance guard, what start-up writes and reads, and the
// one-second due check it starts.
#include <fstream>

#include "MonitorFixture.h"
#include "storage/StorageFixture.h"

namespace wb::test {
namespace {

using MonitorStartup = MonitorTest;

TEST_F(MonitorStartup, FirstStartCreatesTheSettingsFileWithStartFlagZero) {
  MonitorWindow& form = Start();
  EXPECT_TRUE(form.Loaded());
  EXPECT_EQ(ui::FormIfLoaded<MonitorWindow>(), &form);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  EXPECT_EQ(clock.SleepCalls, 0);
  EXPECT_EQ(App().dataPath, DefaultDataPath());
  // The icon is the program's way in; nothing else is shown.
  ASSERT_EQ(tray.CountOps("add"), 1);
  EXPECT_TRUE(tray.Present);
  EXPECT_EQ(tray.Icon, TrayIcon::App);
  EXPECT_EQ(tray.Tip, "Wakebell");
  EXPECT_TRUE(form.Controls().empty());  // a hidden window with no controls: the tray is its face
  EXPECT_FALSE(App().monitor.startingUp);
  EXPECT_FALSE(frontEnd.QuitCalled);
}

TEST_F(MonitorStartup, WritesStartFlagIntoBothSettingsFilesCreatingTheDataFolderOne) {
  const std::string dataPath = MoveDataFolder();
  const std::string dataIni = DataIniPath(dataPath);
  ASSERT_FALSE(FileExists(dataIni));
  Start();
  EXPECT_EQ(App().dataPath, dataPath);
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  EXPECT_EQ(Setting(dataIni, "STARTFLG"), "0");
  EXPECT_EQ(Setting(ProgramIni(), "DATAPATH"), dataPath);  // the rest of the file stays
}

TEST_F(MonitorStartup, EndsAtOnceWhenAnotherInstanceRunsWithTheFlagSet) {
  SetSetting(ProgramIni(), "STARTFLG", "1");
  std::string before;
  ASSERT_TRUE(ReadWholeFile(ProgramIni(), before));
  instance.Running = true;

  MonitorWindow& form = Start();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(ui::FormIfLoaded<MonitorWindow>(), nullptr);
  EXPECT_TRUE(frontEnd.QuitCalled);
  EXPECT_EQ(clock.SleepCalls, 0);
  EXPECT_TRUE(tray.Calls.empty());
  EXPECT_FALSE(form.dueCheckTimer.Enabled());
  std::string after;
  ASSERT_TRUE(ReadWholeFile(ProgramIni(), after));
  EXPECT_EQ(after, before);
}

struct GuardCase {
  const char* name;
  const char* startFlag;
  bool otherInstance;
  bool starts;  // after the retries: a flag left alone starts; a copy still running ends this one
};

class MonitorStartupGuard : public MonitorTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(MonitorStartupGuard, RetriesTwiceASecondApartThenDecides) {
  SetSetting(ProgramIni(), "STARTFLG", GetParam().startFlag);
  std::string before;
  ASSERT_TRUE(ReadWholeFile(ProgramIni(), before));
  instance.Running = GetParam().otherInstance;

  MonitorWindow& form = Start();
  EXPECT_EQ(clock.SleepCalls, 2);
  EXPECT_EQ(clock.SleptMs, 2000);
  EXPECT_EQ(instance.Calls, 3);
  EXPECT_EQ(form.Loaded(), GetParam().starts);
  EXPECT_EQ(tray.Present, GetParam().starts);
  EXPECT_EQ(frontEnd.QuitCalled, !GetParam().starts);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(ProgramIni(), after));
  if (GetParam().starts) {
    EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  } else {
    // Ends as quietly as the "end at once" case: the running copy's files stay untouched.
    EXPECT_EQ(after, before);
    EXPECT_TRUE(tray.Calls.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Mismatch, MonitorStartupGuard,
                         ::testing::Values(GuardCase{"FlagLeftWithoutInstance", "1", false, true},
                                           GuardCase{"InstanceWithFlagClear", "0", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorStartup, RetryEndsAsSoonAsTheFlagIsCleared) {
  SetSetting(ProgramIni(), "STARTFLG", "1");
  // The old instance finishes its shut-down during the first wait.
  instance.OnAsk = [&](int call) {
    if (call == 2) SetSetting(ProgramIni(), "STARTFLG", "0");
  };
  Start();
  EXPECT_EQ(clock.SleepCalls, 1);
  EXPECT_TRUE(tray.Present);
}

TEST_F(MonitorStartup, RetryEndsAsSoonAsTheOtherInstanceIsGone) {
  instance.Answers = {true, false};
  Start();
  EXPECT_EQ(clock.SleepCalls, 1);
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
}

TEST_F(MonitorStartup, ReadsTheFlagFromTheDataFolderSettings) {
  const std::string dataIni = DataIniPath(MoveDataFolder());
  SetSetting(dataIni, "STARTFLG", "1");
  SetSetting(ProgramIni(), "STARTFLG", "0");
  instance.Running = true;
  MonitorWindow& form = Start();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(Setting(dataIni, "STARTFLG"), "1");
}

TEST_F(MonitorStartup, StartModeSetsTheStartupMarks) {
  SetSetting(ProgramIni(), "STARTMD", "1");
  MonitorWindow& form = Start();
  EXPECT_TRUE(form.registerStartupItem->Checked());
  EXPECT_FALSE(form.removeStartupItem->Checked());
}

TEST_F(MonitorStartup, StartModeOtherThanOneMarksRemove) {
  for (const char* value : {"", "0", "2", "yes"}) {
    SCOPED_TRACE(value);
    if (*value) SetSetting(ProgramIni(), "STARTMD", value);
    MonitorWindow& form = Start();
    EXPECT_FALSE(form.registerStartupItem->Checked());
    EXPECT_TRUE(form.removeStartupItem->Checked());
    ui::ForgetForm<MonitorWindow>();
  }
}

TEST_F(MonitorStartup, LoadsTheDataFileAndTheDeviceNamesThenStartsTheDueCheck) {
  SaveTable({Daily(7, 0), Daily(8, 0), Daily(9, 0)});
  SetSetting(ProgramIni(), "MIDINM", "Microsoft GS Wavetable Synth");
  SetSetting(ProgramIni(), "WAVENM", "スピーカー");
  devices.AddWave("スピーカー", 0x12341234);

  MonitorWindow& form = Start();
  EXPECT_EQ(App().table.EntryCount(), 3);
  EXPECT_EQ(App().audio.midiDeviceName, "Microsoft GS Wavetable Synth");
  EXPECT_EQ(App().audio.waveDeviceName, "スピーカー");
  EXPECT_EQ(App().audio.savedWaveVolume, 0x12341234u);
  EXPECT_TRUE(form.dueCheckTimer.Enabled());
  EXPECT_EQ(form.dueCheckTimer.Interval(), 1000);
  EXPECT_TRUE(clock.IsArmed(form.dueCheckTimer));
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
}

// An older data file found at start-up is converted with the volumes the chosen devices have
// at that moment, and rewritten in the current layout once its original is kept.
TEST_F(MonitorStartup, ConvertsAnOlderDataFileWithTheDevicesPresentVolumes) {
  std::string old = Bytes().Header(1, "Wakebell 0.9.3").str();
  for (double time : {46000.25, 0.0})
    old += Bytes().F64(time).I16(kRepeatDaily).I16(0).F64(0).F64(0).I16(0).I16(0).I16(0).Str("x").I16(0).Str("")
               .I16(1).str();
  std::ofstream(DefaultDataPath(), std::ios::binary) << old;
  SetSetting(ProgramIni(), "MIDINM", "MIDI 音源");
  SetSetting(ProgramIni(), "WAVENM", "スピーカー");
  devices.AddMidi("MIDI 音源", 0x11112222);
  devices.AddWave("スピーカー", 0x33334444);

  Start();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(uint32_t(App().table[0].MidiVolume), 0x11112222u);
  EXPECT_EQ(uint32_t(App().table[0].WaveVolume), 0x33334444u);
  EXPECT_EQ(App().table[0].Sound.Endless, 1);
  AlarmTable stored;
  std::string tag;
  ASSERT_TRUE(ReadAlarmFile(DefaultDataPath(), stored, 0, 0, &tag));
  EXPECT_EQ(tag, kCurrentDataTag);
  EXPECT_EQ(stored.Slots(), App().table.Slots());
  std::string backup;
  ASSERT_TRUE(ReadWholeFile(DefaultDataPath() + ".bak", backup));
  EXPECT_EQ(backup, old);
}

// ---- the due check of dueCheckTimer ----

using MonitorDueCheck = MonitorTest;

TEST_F(MonitorDueCheck, PresentsTheDueEntryWithThePresentMinute) {
  SaveTable({Daily(6, 1)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  Start();
  Seconds(29);
  EXPECT_FALSE(AlarmShown());
  Seconds(1);  // 06:01:00
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
  EXPECT_EQ(ui::TheForm<AlarmWindow>().timeView.Text(), "06:01");
  EXPECT_EQ(ui::TheForm<AlarmWindow>().bannerView.Text(), "■本鈴■");
  EXPECT_EQ(FormatMoment(App().table[0].MainBellFiredAt), "2026/12/07 06:01:00");
}

TEST_F(MonitorDueCheck, NothingFiresWhilePaused) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  form.pauseItem->Choose();
  Seconds(120);
  EXPECT_FALSE(AlarmShown());
  EXPECT_EQ(App().table[0].MainBellFiredAt, 0);
  form.pauseItem->Choose();
  Seconds(60);
  EXPECT_FALSE(AlarmShown());  // 06:01 went by during the pause and is not made up
}

TEST_F(MonitorDueCheck, ResumingRingsAtTheNextMatchingMinute) {
  SaveTable({Daily(6, 1), Daily(6, 3)});
  MonitorWindow& form = Start();
  form.pauseItem->Choose();
  Seconds(120);  // 06:02:00: 06:01 went by during the pause
  form.pauseItem->Choose();
  Seconds(59);
  EXPECT_FALSE(AlarmShown());
  Seconds(1);  // 06:03:00
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(ui::TheForm<AlarmWindow>().timeView.Text(), "06:03");
  EXPECT_EQ(App().table[0].MainBellFiredAt, 0);
  EXPECT_EQ(FormatMoment(App().table[1].MainBellFiredAt), "2026/12/07 06:03:00");
}

TEST_F(MonitorDueCheck, AnAlarmRingsOnceAndDoesNotCreateTheEditor) {
  SaveTable({Daily(6, 1)});
  Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  SingleClickTimesOut();  // dismissed at once
  ASSERT_FALSE(AlarmShown());
  Seconds(58);  // the rest of the minute
  EXPECT_FALSE(AlarmShown());
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
}

TEST_F(MonitorDueCheck, AnOpenEditorKeepsTheFiredMarkToo) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  form.editItem->Choose();
  ASSERT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  SingleClickTimesOut();
  Seconds(58);
  EXPECT_FALSE(AlarmShown());
}

}  // namespace
}  // namespace wb::test
