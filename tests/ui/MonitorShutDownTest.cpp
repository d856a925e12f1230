// 終了: the orderly end of the process and the order of its steps; the same end when the
// monitor is asked to close and when Windows ends the session.
#include <algorithm>

#include "MonitorFixture.h"

namespace wb::test {
namespace {

class MonitorShutDown : public MonitorTest {
 protected:
  MonitorShutDown() {
    Svc().frontEnd = &recorder;
    tray.Journal = &journal;
    mci.Journal = &journal;
    devices.Journal = &journal;
  }
  ~MonitorShutDown() override { ForgetWindows(); }
  // Index of the first journal line starting with `prefix`, or -1.
  int Find(const std::string& prefix) const {
    for (size_t i = 0; i < journal.size(); ++i)
      if (journal[i].rfind(prefix, 0) == 0) return int(i);
    return -1;
  }
  std::vector<std::string> From(const std::string& first) const {
    int i = Find(first);
    return i < 0 ? std::vector<std::string>{} : std::vector<std::string>(journal.begin() + i, journal.end());
  }

  int Count(const std::string& line) const { return int(std::count(journal.begin(), journal.end(), line)); }

  RecordingFrontEnd recorder{journal};
};

TEST_F(MonitorShutDown, StopsTheSoundRestoresVolumesAndRemovesTheIconBeforeTheWindowsGo) {
  devices.AddMidi("MIDI", 0x11111111);
  devices.AddWave("WAVE", 0x22222222);
  SetSetting(ProgramIni(), "MIDINM", "MIDI");
  SetSetting(ProgramIni(), "WAVENM", "WAVE");
  const AlarmEntry e = WithSound(Daily(6, 1), "C:\\Sounds\\alarm.wav", true, 0x40004000, 0x50005000);
  SaveTable({e});
  std::string dataBefore;
  ASSERT_TRUE(ReadWholeFile(DefaultDataPath(), dataBefore));

  MonitorWindow& form = Start();
  form.aboutItem->Choose();  // the About box is open
  form.editItem->Choose();  // and the editor
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  ASSERT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
  // Something outside wrote the flag meanwhile; shut-down writes "0" only after the icon went.
  SetSetting(ProgramIni(), "STARTFLG", "1");
  std::string flagAtIconDelete;
  int entriesAtIconDelete = -1;
  tray.OnCall = [&](const fake::FakeTray::Call& c) {
    if (c.op != "delete") return;
    flagAtIconDelete = Setting(ProgramIni(), "STARTFLG");
    entriesAtIconDelete = App().table.EntryCount();
  };
  journal.clear();

  form.exitItem->Choose();

  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  const int stop = Find("mci stop"), midi = Find("midi 0 11111111"), wave = Find("wave 0 22222222");
  const int icon = Find("tray delete");
  ASSERT_GE(stop, 0);
  ASSERT_GE(midi, 0);
  ASSERT_GE(wave, 0);
  EXPECT_LT(stop, midi);
  EXPECT_LT(midi, wave);
  EXPECT_LT(wave, icon);
  EXPECT_EQ(flagAtIconDelete, "1");
  EXPECT_EQ(entriesAtIconDelete, 1);
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  EXPECT_EQ(App().table.EntryCount(), 0);
  EXPECT_FALSE(TheAlarm().Progress().testPlaying);
  EXPECT_FALSE(App().monitor.shuttingDown);

  // The editor's close stops a test play it may have started (the status query).
  EXPECT_EQ(From("hide EditorWindow"),
            (std::vector<std::string>{"hide EditorWindow", "hide AlarmWindow", "hide AboutBox", "mci status mymedia mode",
                                      "unload EditorWindow", "unload AlarmWindow",
                                      "unload AboutBox", "unload MonitorWindow", "quit"}));
  EXPECT_FALSE(tray.Present);
  // Unsaved or not, the data file is left as it was.
  std::string dataAfter;
  ASSERT_TRUE(ReadWholeFile(DefaultDataPath(), dataAfter));
  EXPECT_EQ(dataAfter, dataBefore);
}

TEST_F(MonitorShutDown, WritesTheFlagIntoBothSettingsFiles) {
  const std::string dataIni = DataIniPath(MoveDataFolder());
  MonitorWindow& form = Start();
  SetSetting(ProgramIni(), "STARTFLG", "1");
  SetSetting(dataIni, "STARTFLG", "1");
  form.exitItem->Choose();
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  EXPECT_EQ(Setting(dataIni, "STARTFLG"), "0");
}

TEST_F(MonitorShutDown, CreatesNoWindowOnTheWayOut) {
  MonitorWindow& form = Start();
  journal.clear();
  form.exitItem->Choose();
  EXPECT_EQ(journal, (std::vector<std::string>{"tray delete", "unload MonitorWindow", "quit"}));
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<AboutBox>(), nullptr);
  EXPECT_TRUE(frontEnd.Popups.empty());
}

TEST_F(MonitorShutDown, NoTimerRunsAfterTheEnd) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  form.exitItem->Choose();
  for (ui::Timer* t : {&form.dueCheckTimer, &TheAlarm().Timers().alarmTimer, &TheAlarm().Timers().singleClickTimer, &form.hoverTimer}) EXPECT_FALSE(clock.IsArmed(*t));
  Seconds(120);
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);
}

// The end of the process comes from outside too: a close request to the hidden monitor (an
// end task without force) and Windows ending the session (log-off, restart). Either way an
// alarm sounding then must not leave the devices at its volumes, the flag must read 0 and the
// icon must go; the process must end rather than linger without windows, holding the instance
// guard. Every window hears of the session's end; the end runs once.
struct OutsideEnd {
  const char* name;
  void (*end)(fake::FakeFrontEnd& frontEnd, MonitorWindow& form);
};

void PrintTo(const OutsideEnd& way, std::ostream* os) { *os << way.name; }

class MonitorEndedFromOutside : public MonitorShutDown, public ::testing::WithParamInterface<OutsideEnd> {};

TEST_P(MonitorEndedFromOutside, EndsAsAfterExit) {
  devices.AddMidi("MIDI", 0x11111111);
  devices.AddWave("WAVE", 0x22222222);
  SetSetting(ProgramIni(), "MIDINM", "MIDI");
  SetSetting(ProgramIni(), "WAVENM", "WAVE");
  const std::string dataPath = MoveDataFolder();
  const std::string dataIni = DataIniPath(dataPath);
  SetSetting(dataIni, "MIDINM", "MIDI");
  SetSetting(dataIni, "WAVENM", "WAVE");
  const AlarmEntry e = WithSound(Daily(6, 1), "C:\\Sounds\\alarm.wav", true, 0x40004000, 0x50005000);
  SaveTable({e}, dataPath);

  MonitorWindow& form = Start();
  form.aboutItem->Choose();
  form.editItem->Choose();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  ASSERT_EQ(mci.GetState(), fake::FakeMci::State::Playing);
  ASSERT_EQ(devices.Midi[0].volume, 0x40004000u);
  SetSetting(ProgramIni(), "STARTFLG", "1");
  SetSetting(dataIni, "STARTFLG", "1");
  journal.clear();

  GetParam().end(recorder, form);

  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  EXPECT_EQ(devices.Midi[0].volume, 0x11111111u);
  EXPECT_EQ(devices.Wave[0].volume, 0x22222222u);
  EXPECT_EQ(Setting(ProgramIni(), "STARTFLG"), "0");
  EXPECT_EQ(Setting(dataIni, "STARTFLG"), "0");
  EXPECT_FALSE(tray.Present);
  EXPECT_EQ(Count("tray delete"), 1);
  EXPECT_EQ(Count("quit"), 1);
  EXPECT_TRUE(recorder.QuitCalled);
  EXPECT_EQ(ui::FormIfLoaded<MonitorWindow>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<AboutBox>(), nullptr);
  for (ui::Timer* t : {&form.dueCheckTimer, &TheAlarm().Timers().alarmTimer, &form.hoverTimer})
    EXPECT_FALSE(clock.IsArmed(*t));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MonitorEndedFromOutside,
    ::testing::Values(OutsideEnd{"SessionEnd", [](fake::FakeFrontEnd& f, MonitorWindow&) { f.EndSession(); }},
                      OutsideEnd{"CloseRequest", [](fake::FakeFrontEnd&, MonitorWindow& m) { m.RequestClose(); }}),
    [](const ::testing::TestParamInfo<OutsideEnd>& info) { return std::string(info.param.name); });

// The shell calls made on the way out let Windows deliver its messages, the end of the
// session among them, while 終了 is half done: that must not run the end a second time.
TEST_F(MonitorShutDown, SessionEndDuringExitDoesNotRunTheEndAgain) {
  MonitorWindow& form = Start();
  const std::string dataIni = DataSettingsPath();
  tray.OnCall = [&](const fake::FakeTray::Call& c) {
    if (c.op == "delete") recorder.EndSession();
  };
  journal.clear();
  form.exitItem->Choose();
  EXPECT_EQ(journal, (std::vector<std::string>{"tray delete", "unload MonitorWindow", "quit"}));
  EXPECT_EQ(Setting(dataIni, "STARTFLG"), "0");
}

}  // namespace
}  // namespace wb::test
