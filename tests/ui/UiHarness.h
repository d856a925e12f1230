// Test harness for window logic: installs the fake services, resets the process-wide state
// and the forms, and gives the test a clock that fires timers. Every UI test derives from it.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app_state/AppState.h"
#include "platform/fake/FakeAudioDevices.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeForeground.h"
#include "platform/fake/FakeFrontEnd.h"
#include "platform/fake/FakeInstance.h"
#include "platform/fake/FakeLauncher.h"
#include "platform/fake/FakeMci.h"
#include "platform/fake/FakePower.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeSystemSound.h"
#include "platform/fake/FakeTray.h"
#include "support/ScratchFolder.h"

namespace wb::ui {
// Check states print as their number in a failed expectation.
inline void PrintTo(CheckState s, std::ostream* os) { *os << int(s); }
}  // namespace wb::ui

namespace wb::test {

class UiTest : public ::testing::Test {
 protected:
  UiTest();
  ~UiTest() override;

  // Drops every window (a single reset for all of them), then the retired ones.
  static void ForgetWindows();

  // A fresh temporary folder per test, standing for the program's folder.
  ScratchFolder scratch{"wakebell-ui-"};
  const std::filesystem::path& dir = scratch.Path();

  fake::FakeClock clock{MakeDate(2026, 12, 7, 6, 0, 0)};
  fake::FakeDialogs dialogs;
  fake::FakeFrontEnd frontEnd;
  fake::FakeMci mci;
  fake::FakeSystemSound systemSound;
  fake::FakeAudioDevices devices;
  fake::FakeTray tray;
  fake::FakeShell shell;
  fake::FakeRegistry registry;
  fake::FakeLauncher launcher;
  fake::FakeInstance instance;
  fake::FakePower power;
  fake::FakeForeground foreground;
};

}  // namespace wb::test
