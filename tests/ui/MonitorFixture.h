// Fixture of the monitor tests (start-up, shut-down, tray, shortcut, About box): the harness's
// fakes with the program folder in a temporary folder, settings and data files written there,
// entries as the editor makes them, and a front end that records hides and unloads.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "UiHarness.h"
#include "about/AboutBox.h"
#include "alert/Alarm.h"
#include "alert/AlarmWindow.h"
#include "editor/EditorWindow.h"
#include "monitor/MonitorWindow.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/Settings.h"
#include "support/SampleEntries.h"

namespace wb::test {

// The fake front end plus a journal of what the native side would be asked: "show X",
// "hide X", "unload X", "quit".
class RecordingFrontEnd : public fake::FakeFrontEnd {
 public:
  explicit RecordingFrontEnd(std::vector<std::string>& journal) : journal_(journal) {}
  FormPeer* CreatePeer(ui::Form& form) override {
    FakeFrontEnd::CreatePeer(form);  // the fake still knows which windows exist
    peers_.push_back(std::make_unique<Peer>(form, journal_));
    return peers_.back().get();
  }
  void DestroyPeer(ui::Form& form, FormPeer* peer) override {
    FakeFrontEnd::DestroyPeer(form, peer);
    journal_.push_back("unload " + form.Name());
  }
  void Quit() override {
    FakeFrontEnd::Quit();
    journal_.push_back("quit");
  }

 private:
  struct Peer : FormPeer {
    Peer(ui::Form& f, std::vector<std::string>& j) : form(f), journal(j) {}
    void SyncForm(ui::Prop p) override {
      if (p == ui::Prop::Visible) journal.push_back((form.Visible() ? "show " : "hide ") + form.Name());
    }
    void SyncControl(ui::Control&, ui::Prop) override {}
    ui::Form& form;
    std::vector<std::string>& journal;
  };
  std::vector<std::string>& journal_;
  std::vector<std::unique_ptr<Peer>> peers_;
};

class MonitorTest : public UiTest {
 protected:
  // The forms go while this fixture's front end still exists to hear of it. A fixture that
  // puts a front end of its own in place calls ForgetWindows from its own destructor, before
  // that front end goes.
  ~MonitorTest() override { ForgetWindows(); }

  std::string ProgramIni() const { return (dir / "Wakebell.ini").string(); }
  std::string DefaultDataPath() const { return (dir / "Wakebell.dat").string(); }
  // "<none>" when the file or key is missing.
  static std::string Setting(const std::string& ini, const std::string& key) {
    return ReadSetting(ini, key, "<none>");
  }
  static void SetSetting(const std::string& ini, const std::string& key, const std::string& value) {
    WriteSetting(ini, key, value);
  }
  // Moves the data file into a sub-folder, as the editor's data-location setting does.
  std::string MoveDataFolder(const std::string& name = "data") {
    std::filesystem::create_directories(dir / name);
    const std::string path = (dir / name / "Wakebell.dat").string();
    SetSetting(ProgramIni(), "DATAPATH", path);
    return path;
  }
  void SaveTable(const std::vector<AlarmEntry>& entries, const std::string& path = "") {
    AlarmTable table;
    for (const AlarmEntry& e : entries) table.Add(e);
    ASSERT_TRUE(SaveAlarmTable(path.empty() ? DefaultDataPath() : path, table));
  }

  // Entries as the editor makes them: main bell only, a plain window, no sound.
  static AlarmEntry Entry(int16_t repeatKind, OleDate alarmTime) { return PlainEntry(repeatKind, alarmTime); }
  static AlarmEntry Daily(int hour, int minute) { return Entry(kRepeatDaily, MakeDate(2026, 12, 1, hour, minute)); }

  MonitorWindow& Start() { return ui::TheForm<MonitorWindow>(); }
  void Seconds(double s) { clock.Advance(int64_t(s * 1000)); }
  // The single-click timer comes due: a click on the icon with no second click after it.
  static void SingleClickTimesOut() {
    ui::Timer& timer = TheAlarm().Timers().singleClickTimer;
    timer.SetEnabled(true);
    timer.Fire();
  }
  bool AlarmShown() {
    AlarmWindow* f = ui::FormIfLoaded<AlarmWindow>();
    return f && f->Visible();
  }

  std::vector<std::string> journal;
};

}  // namespace wb::test
