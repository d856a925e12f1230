// The About box: its texts, closing it, and starting the system information tool found
// through the registry.
#include "MonitorFixture.h"

namespace wb::test {
namespace {

constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";

using AboutBoxTest = MonitorTest;

TEST_F(AboutBoxTest, ShowsTitleAndVersion) {
  AboutBox& box = ui::TheForm<AboutBox>();
  EXPECT_EQ(box.Caption(), "Wakebellのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(box.versionLabel.Caption(), std::string("ﾊﾞｰｼﾞｮﾝ ") + WB_PROJECT_VERSION);
  EXPECT_EQ(box.titleLabel.Caption(), "Wakebell");
  EXPECT_FALSE(box.descriptionLabel.Caption().empty());
  EXPECT_EQ(box.okButton.Caption(), "OK");
  EXPECT_EQ(box.systemInfoButton.Caption(), "ｼｽﾃﾑ情報(&S)...");
  EXPECT_EQ(box.iconPicture.Picture(), "APP");
}

TEST_F(AboutBoxTest, OpensFromTheMenuWithoutBeingModalAndOkClosesIt) {
  MonitorWindow& form = Start();
  form.aboutItem->Choose();
  AboutBox* box = ui::FormIfLoaded<AboutBox>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->Visible());
  EXPECT_TRUE(frontEnd.ModalForms.empty());
  box->okButton.Press();
  EXPECT_EQ(ui::FormIfLoaded<AboutBox>(), nullptr);
  form.aboutItem->Choose();  // and comes back anew
  ASSERT_NE(ui::FormIfLoaded<AboutBox>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<AboutBox>()->versionLabel.Caption(), std::string("ﾊﾞｰｼﾞｮﾝ ") + WB_PROJECT_VERSION);
}

TEST_F(AboutBoxTest, StartsTheToolFromTheFirstKey) {
  registry.SetString(RegRoot::LocalMachine, kToolKey, "PATH", "C:\\Program Files\\Common Files\\msinfo32.exe");
  registry.SetString(RegRoot::LocalMachine, kLocationKey, "MSINFO", "D:\\Elsewhere");
  ui::TheForm<AboutBox>().systemInfoButton.Press();
  EXPECT_EQ(launcher.Started, std::vector<std::string>{"C:\\Program Files\\Common Files\\msinfo32.exe"});
  ASSERT_EQ(registry.Requests.size(), 1u);  // the second key is not looked at
  EXPECT_TRUE(dialogs.Asked.empty());
}

TEST_F(AboutBoxTest, StartsTheToolFromTheSecondKeysFolder) {
  registry.SetString(RegRoot::LocalMachine, kLocationKey, "MSINFO", "C:\\Tools");
  launcher.Files.insert("C:\\Tools\\MSINFO32.EXE");
  ui::TheForm<AboutBox>().systemInfoButton.Press();
  EXPECT_EQ(launcher.Started, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
  EXPECT_TRUE(dialogs.Asked.empty());
}

TEST_F(AboutBoxTest, SecondKeyWithoutTheProgramSaysUnavailable) {
  registry.SetString(RegRoot::LocalMachine, kLocationKey, "MSINFO", "C:\\Tools");
  AboutBox& box = ui::TheForm<AboutBox>();
  box.systemInfoButton.Press();
  EXPECT_TRUE(launcher.Started.empty());
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(dialogs.Asked[0].text, kUnavailable);
  EXPECT_EQ(dialogs.Asked[0].style & 7, kOkOnly);
  EXPECT_TRUE(box.Loaded());  // the box stays open
}

TEST_F(AboutBoxTest, NoKeyOrAToolThatWillNotStartSaysUnavailable) {
  AboutBox& box = ui::TheForm<AboutBox>();
  box.systemInfoButton.Press();
  EXPECT_EQ(dialogs.CountMsgBoxes(kUnavailable), 1);
  EXPECT_TRUE(launcher.Started.empty());
  registry.SetString(RegRoot::LocalMachine, kToolKey, "PATH", "C:\\msinfo32.exe");
  launcher.StartFails = true;
  box.systemInfoButton.Press();
  EXPECT_EQ(dialogs.CountMsgBoxes(kUnavailable), 2);
}

// The registry service hands strings over as UTF-8 already; a path with Japanese in it must
// reach the launcher unchanged, from either key.
TEST_F(AboutBoxTest, StartsTheToolUnderANonAsciiPath) {
  struct Case {
    const char* key;
    const char* value;
    const char* text;
    const char* program;
  };
  const Case cases[] = {
      {kToolKey, "PATH", "C:\\プログラム\\msinfo32.exe", "C:\\プログラム\\msinfo32.exe"},
      {kLocationKey, "MSINFO", "C:\\共通ツール\\表示", "C:\\共通ツール\\表示\\MSINFO32.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    fake::FakeRegistry fresh;
    Svc().registry = &fresh;
    launcher.Started.clear();
    launcher.Files = {c.program};
    fresh.SetString(RegRoot::LocalMachine, c.key, c.value, c.text);
    ui::TheForm<AboutBox>().systemInfoButton.Press();
    EXPECT_EQ(launcher.Started, std::vector<std::string>{c.program});
    EXPECT_EQ(dialogs.CountMsgBoxes(kUnavailable), 0);
    Svc().registry = &registry;
  }
}

// All access on the local machine's keys is refused to a normal user; the tool was then never
// found although it is there.
TEST_F(AboutBoxTest, ReadsTheRegistryWithReadAccessOnly) {
  ASSERT_FALSE(registry.Administrator);
  registry.SetString(RegRoot::LocalMachine, kToolKey, "PATH", "C:\\msinfo32.exe");
  ui::TheForm<AboutBox>().systemInfoButton.Press();
  EXPECT_EQ(launcher.Started, std::vector<std::string>{"C:\\msinfo32.exe"});
  for (const auto& r : registry.Requests) EXPECT_EQ(r.access, 0x20019u);
}

// ---- GetKeyValue ----

TEST_F(AboutBoxTest, KeyValueDropsTheTerminatingNul) {
  registry.SetString(RegRoot::CurrentUser, "K", "V", "C:\\a", true);
  std::string value;
  ASSERT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "V", value));
  EXPECT_EQ(value, "C:\\a");
  registry.SetString(RegRoot::CurrentUser, "K", "V", "C:\\b", false);
  ASSERT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "V", value));
  EXPECT_EQ(value, "C:\\b");
  EXPECT_EQ(registry.Requests.back().bufferSize, 1024u);
}

TEST_F(AboutBoxTest, KeyValueTakesTheServicesTextAsItComes) {
  // The service has already turned the stored UTF-16 into UTF-8; nothing is decoded again.
  registry.SetString(RegRoot::CurrentUser, "K", "V", "C:\\ツール\\ｼｽﾃﾑ");
  std::string value;
  ASSERT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "V", value));
  EXPECT_EQ(value, "C:\\ツール\\ｼｽﾃﾑ");
}

TEST_F(AboutBoxTest, KeyValueOfADwordIsItsDecimalNumber) {
  registry.SetDword(RegRoot::CurrentUser, "K", "N", 0x00010200);  // its top byte is a NUL
  registry.SetDword(RegRoot::CurrentUser, "K", "Big", 0xFFFFFFFE);
  std::string value;
  ASSERT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "N", value));
  EXPECT_EQ(value, "66048");
  ASSERT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "Big", value));
  EXPECT_EQ(value, "4294967294");
}

TEST_F(AboutBoxTest, KeyValueOfAnotherTypeIsFoundButEmptyAndAMissingOneIsNotFound) {
  registry.SetRaw(RegRoot::CurrentUser, "K", "B", RegValue{3, {1, 2, 3}});
  std::string value = "old";
  EXPECT_TRUE(GetKeyValue(RegRoot::CurrentUser, "K", "B", value));
  EXPECT_EQ(value, "");
  value = "old";
  EXPECT_FALSE(GetKeyValue(RegRoot::CurrentUser, "K", "Missing", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(GetKeyValue(RegRoot::CurrentUser, "NoKey", "V", value));
}

}  // namespace
}  // namespace wb::test
