#include "about/AboutBox.h"

#include "app_state/ProgramTitle.h"

namespace wb {

namespace {
// Reading is all the box needs. Asking for more (all access) is refused to normal users on
// the local machine's keys, and the tool would then never be found.
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kValueBufferSize = 1024;
constexpr uint32_t kRegSz = 1, kRegDword = 4;

const char* const kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kSysInfoValue = "PATH";
const char* const kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kSysInfoLocationValue = "MSINFO";
const char* const kSysInfoProgram = "\\MSINFO32.EXE";
}  // namespace

AboutBox::AboutBox()
    : ui::Form("AboutBox", "", 382 * ui::kTwipsPerPixel, 250 * ui::kTwipsPerPixel),
      iconPicture(*this, "iconPicture", {.rect = ui::Px(16, 16, 36, 36), .picture = "APP"}),
      titleLabel(*this, "titleLabel", {.rect = ui::Px(70, 16, 288, 32)}),
      versionLabel(*this, "versionLabel", {.rect = ui::Px(70, 52, 288, 17)}),
      descriptionLabel(*this, "descriptionLabel", {.rect = ui::Px(70, 78, 288, 72)}),
      separatorLines{ui::Line(*this, "separatorLines[0]", {.rect = ui::Px(16, 162, 350, 1)}),
                     ui::Line(*this, "separatorLines[1]", {.rect = ui::Px(16, 163, 350, 1)})},
      okButton(*this, "okButton", {.rect = ui::Px(272, 176, 94, 25), .caption = "OK"}),
      systemInfoButton(*this, "systemInfoButton", {.rect = ui::Px(272, 208, 94, 25), .caption = "ｼｽﾃﾑ情報(&S)..."}) {
  centerOnScreen = true;
  ui::Font title;
  title.size = 14;
  title.bold = true;
  titleLabel.SetFont(title);
  descriptionLabel.SetCaption(
      "通知領域に常駐するアラーム・リマインダーです。指定した日時にメッセージを表示し、"
      "サウンドを鳴らしてお知らせします。");
  // An etched separator: a shadow line over a highlight line.
  separatorLines[0].SetForeColor(0x80000010);
  separatorLines[1].SetForeColor(0x80000014);
  okButton.SetDefault(true);
  okButton.SetCancel(true);
  SetTabOrder({&okButton, &systemInfoButton});
  onLoad = [this] { ShowTitleAndVersion(); };
  okButton.onClick = [this] { Unload(); };
  systemInfoButton.onClick = [this] { StartSystemInfo(); };
}

void AboutBox::ShowTitleAndVersion() {
  SetCaption(std::string(kProgramTitle) + "のﾊﾞｰｼﾞｮﾝ情報");
  versionLabel.SetCaption("ﾊﾞｰｼﾞｮﾝ " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
                          std::to_string(kVersionRevision));
  titleLabel.SetCaption(kProgramTitle);
}

void AboutBox::StartSystemInfo() {
  std::string path;
  if (!GetKeyValue(RegRoot::LocalMachine, kSysInfoKey, kSysInfoValue, path)) {
    std::string folder;
    if (GetKeyValue(RegRoot::LocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, folder) &&
        Svc().launcher->FileExists(folder + kSysInfoProgram)) {
      path = folder + kSysInfoProgram;
    }
  }
  if (path.empty() || !Svc().launcher->Start(path))
    Svc().dialogs->MsgBox(kSysInfoUnavailable, kOkOnly, kProgramTitle);
}

bool GetKeyValue(RegRoot root, const std::string& keyName, const std::string& valueName, std::string& value) {
  value.clear();
  RegValue raw;
  if (!Svc().registry->Read(root, keyName, valueName, kKeyRead, kValueBufferSize, raw)) return false;
  std::vector<uint8_t>& bytes = raw.bytes;
  if (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
  if (raw.type == kRegSz) {
    std::string text(bytes.begin(), bytes.end());
    // A value written with more than one NUL would otherwise carry the rest into a path.
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    // The service has already made UTF-8 of the stored text; decoding it once more as the
    // ANSI code page would garble every non-ASCII path and the tool would not be found.
    value = std::move(text);
  } else if (raw.type == kRegDword) {
    uint32_t number = 0;
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i) number |= uint32_t(bytes[i]) << (8 * i);
    value = std::to_string(number);
  }
  return true;
}

}  // namespace wb
