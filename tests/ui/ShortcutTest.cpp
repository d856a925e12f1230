// The スタートアップ submenu: registering and removing the Startup shortcut, its marks and
// the start mode written to both settings files.
#include "MonitorFixture.h"
#include "monitor/Shortcut.h"

namespace wb::test {
namespace {

class Shortcut : public MonitorTest {
 protected:
  std::string Link() const { return shell.InStartup("Wakebell.lnk"); }
};

TEST_F(Shortcut, RegisterCreatesTheShortcutToTheProgramAndMarksIt) {
  MonitorWindow& form = Start();
  form.registerStartupItem->Choose();
  ASSERT_EQ(shell.Files.count(Link()), 1u);
  // The folder ends in its separator already: nothing more goes before the file name.
  EXPECT_EQ(shell.Files[Link()].target, (dir / "Wakebell.exe").string());
  EXPECT_EQ(shell.Files[Link()].showCommand, 4);
  EXPECT_TRUE(form.registerStartupItem->Checked());
  EXPECT_FALSE(form.removeStartupItem->Checked());
}

TEST_F(Shortcut, RegisterWritesStartModeIntoBothSettingsFiles) {
  const std::string dataIni = DataIniPath(MoveDataFolder());
  MonitorWindow& form = Start();
  form.registerStartupItem->Choose();
  EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), "1");
  EXPECT_EQ(Setting(dataIni, "STARTMD"), "1");
}

TEST_F(Shortcut, RegisterLeavesAnExistingShortcutAsItIs) {
  shell.Files[Link()] = {"D:\\Elsewhere\\Wakebell.exe", 1, 1};
  MonitorWindow& form = Start();
  form.registerStartupItem->Choose();
  EXPECT_EQ(shell.CreateCalls, 0);
  EXPECT_EQ(shell.Files[Link()].target, "D:\\Elsewhere\\Wakebell.exe");
  EXPECT_EQ(shell.Files[Link()].writes, 1);
  EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), "1");
}

// Without a Startup folder there is nowhere to register: nothing is created, the start mode and
// the marks stay as they were, and the user hears why.
TEST_F(Shortcut, WithoutAStartupFolderNothingIsRegisteredAndTheUserIsTold) {
  shell.StartupMissing = true;
  for (const char* mode : {"0", "1"}) {
    SetSetting(ProgramIni(), "STARTMD", mode);
    dialogs.Asked.clear();
    MonitorWindow& form = Start();
    const bool marked = form.registerStartupItem->Checked();
    form.registerStartupItem->Choose();
    EXPECT_EQ(shell.CreateCalls, 0) << mode;
    EXPECT_TRUE(shell.Files.empty()) << mode;
    EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), mode);
    EXPECT_EQ(form.registerStartupItem->Checked(), marked) << mode;
    EXPECT_NE(form.removeStartupItem->Checked(), marked) << mode;
    ASSERT_EQ(dialogs.Asked.size(), 1u) << mode;
    EXPECT_EQ(dialogs.Asked[0].text, "スタートアップフォルダが見つからないため、スタートアップに登録できませんでした。");
    EXPECT_EQ(dialogs.Asked[0].style, kOkOnly | kIconExclamation);
    EXPECT_EQ(dialogs.Asked[0].title, "Wakebell");
    tray.Mouse(0x200);  // no folder, so no shortcut in it
    EXPECT_FALSE(form.registerStartupItem->Checked()) << mode;
    ForgetWindows();
  }
}

TEST_F(Shortcut, TargetHasItsEnvironmentReferencesExpanded) {
  shell.Env["APPS"] = "C:\\Tools";
  CreateStartupShortcut("%APPS%\\Wakebell\\Wakebell.exe", "Wakebell.lnk");
  EXPECT_EQ(shell.Files[Link()].target, "C:\\Tools\\Wakebell\\Wakebell.exe");
}

TEST_F(Shortcut, RemoveDeletesTheShortcutAndWritesZero) {
  const std::string dataIni = DataIniPath(MoveDataFolder());
  MonitorWindow& form = Start();
  form.registerStartupItem->Choose();
  form.removeStartupItem->Choose();
  EXPECT_EQ(shell.Files.count(Link()), 0u);
  EXPECT_FALSE(form.registerStartupItem->Checked());
  EXPECT_TRUE(form.removeStartupItem->Checked());
  EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), "0");
  EXPECT_EQ(Setting(dataIni, "STARTMD"), "0");
}

TEST_F(Shortcut, RemoveWithoutOurShortcutStillWritesZero) {
  shell.Files[shell.InStartup("Other.lnk")] = {"C:\\Other.exe", 1, 1};
  SetSetting(ProgramIni(), "STARTMD", "1");
  MonitorWindow& form = Start();
  form.removeStartupItem->Choose();
  EXPECT_EQ(shell.DeleteCalls, 0);
  EXPECT_EQ(shell.Files.size(), 1u);  // the other program's shortcut stays
  EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), "0");
}

TEST_F(Shortcut, RemoveWithAnEmptyStartupFolderOnlyChangesTheMarks) {
  SetSetting(ProgramIni(), "STARTMD", "1");
  MonitorWindow& form = Start();
  ASSERT_TRUE(form.registerStartupItem->Checked());
  form.removeStartupItem->Choose();
  EXPECT_FALSE(form.registerStartupItem->Checked());
  EXPECT_TRUE(form.removeStartupItem->Checked());
  EXPECT_EQ(Setting(ProgramIni(), "STARTMD"), "1");
  EXPECT_EQ(shell.DeleteCalls, 0);
}

TEST_F(Shortcut, MarksFollowTheFileWheneverTheMouseTouchesTheIcon) {
  MonitorWindow& form = Start();
  form.registerStartupItem->Choose();
  shell.Files.erase(Link());  // the user deleted it by hand
  EXPECT_TRUE(form.registerStartupItem->Checked());
  tray.Mouse(0x200);
  EXPECT_FALSE(form.registerStartupItem->Checked());
  EXPECT_TRUE(form.removeStartupItem->Checked());
  // And the other way round, also while paused.
  form.pauseItem->Choose();
  shell.Files[Link()] = {"C:\\x\\Wakebell.exe", 4, 1};
  tray.Mouse(0x204);
  EXPECT_TRUE(form.registerStartupItem->Checked());
  EXPECT_FALSE(form.removeStartupItem->Checked());
}

}  // namespace
}  // namespace wb::test
