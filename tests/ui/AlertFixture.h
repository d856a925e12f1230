// Fixture of the alarm-window and sound tests: the fake services of the harness, an entry
// factory and one shared journal of what the program asked of MCI, the system sound and the
// devices, in order.
#pragma once
#include <string>
#include <vector>

#include "UiHarness.h"
#include "alert/Alarm.h"
#include "alert/AlarmWindow.h"
#include "monitor/MonitorWindow.h"
#include "support/SampleEntries.h"

namespace wb::test {

class AlertTest : public UiTest {
 protected:
  AlertTest() {
    // The monitor window is up before anything rings, as in the program; the alarm timer ticks the
    // blink half and then the sound half.
    ui::TheForm<MonitorWindow>();
    mci.Journal = &journal;
    systemSound.Journal = &journal;
    devices.Journal = &journal;
  }

  // A main-bell entry as the editor makes it: message, colours, font; no blink, no sound.
  static AlarmEntry Entry(const std::string& message = "会議の時間です") { return LookEntry(message); }
  static AlarmEntry SoundEntry(const std::string& file, bool endless = false) {
    return WithSound(Entry(), file, endless, 0x40004000, 0x60006000);
  }
  int Add(const AlarmEntry& e) { return App().table.Add(e); }
  // Adds the entry and presents it as the due check does.
  int Present(const AlarmEntry& e, bool mainBell = true, const std::string& minute = "07:30") {
    int slot = Add(e);
    TheAlarm().Present(slot, mainBell, minute);
    return slot;
  }
  void Tick(int seconds = 1) { clock.Advance(int64_t(seconds) * 1000); }
  // Whether the window is shown after each of the next `ticks` seconds.
  std::vector<bool> ShownEachSecond(int ticks) {
    std::vector<bool> out;
    for (int i = 0; i < ticks; ++i) {
      Tick();
      out.push_back(WindowShown());
    }
    return out;
  }
  AlarmWindow& Window() { return ui::TheForm<AlarmWindow>(); }
  bool WindowShown() {
    AlarmWindow* f = ui::FormIfLoaded<AlarmWindow>();
    return f && f->Visible();
  }

  std::vector<std::string> journal;
};

}  // namespace wb::test
