#include "about/frmAbout.h"

#include "storage/TextBytes.h"

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

frmAbout::frmAbout()
    : ui::Form("frmAbout", "", 5730, 3750),
      picIcon(*this, "picIcon", ui::Rect{240, 240, 540, 540}),
      lblTitle(*this, "lblTitle", ui::Rect{1050, 240, 4320, 480}),
      lblVersion(*this, "lblVersion", ui::Rect{1050, 780, 4320, 255}),
      lblDescription(*this, "lblDescription", ui::Rect{1050, 1170, 4320, 1080}),
      Line1(*this, "Line1", ui::Rect{240, 2430, 5250, 15}),
      Line2(*this, "Line2", ui::Rect{240, 2445, 5250, 15}),
      cmdOK(*this, "cmdOK", ui::Rect{4080, 2640, 1410, 375}, "OK"),
      cmdSysInfo(*this, "cmdSysInfo", ui::Rect{4080, 3120, 1410, 375}, "ｼｽﾃﾑ情報(&S)...") {
  CenterOnScreen = true;
  picIcon.SetPicture("APP");
  ui::Font title;
  title.size = 14;
  title.bold = true;
  lblTitle.SetFont(title);
  lblDescription.SetCaption(
      "通知領域に常駐するアラーム・リマインダーです。指定した日時にメッセージを表示し、"
      "サウンドを鳴らしてお知らせします。");
  // An etched separator: a shadow line over a highlight line.
  Line1.SetForeColor(0x80000010);
  Line2.SetForeColor(0x80000014);
  cmdOK.SetDefault(true);
  cmdOK.SetCancel(true);
  Load = [this] { Form_Load(); };
  cmdOK.Click = [this] { Unload(); };
  cmdSysInfo.Click = [this] { StartSysInfo(); };
}

void frmAbout::Form_Load() {
  SetCaption(std::string(kAppTitle) + "のﾊﾞｰｼﾞｮﾝ情報");
  lblVersion.SetCaption("ﾊﾞｰｼﾞｮﾝ " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
                        std::to_string(kVersionRevision));
  lblTitle.SetCaption(kAppTitle);
}

void frmAbout::StartSysInfo() {
  std::string path;
  if (!GetKeyValue(RegRoot::LocalMachine, kSysInfoKey, kSysInfoValue, path)) {
    std::string folder;
    if (GetKeyValue(RegRoot::LocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, folder) &&
        Svc().launcher->FileExists(folder + kSysInfoProgram)) {
      path = folder + kSysInfoProgram;
    }
  }
  if (path.empty() || !Svc().launcher->Start(path))
    Svc().dialogs->MsgBox(kSysInfoUnavailable, kOkOnly, kAppTitle);
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
    value = StorageCodec().FromCp932(text);
  } else if (raw.type == kRegDword) {
    uint32_t number = 0;
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i) number |= uint32_t(bytes[i]) << (8 * i);
    value = std::to_string(number);
  }
  return true;
}

namespace {
ui::FormSlot<frmAbout>& Slot() {
  static ui::FormSlot<frmAbout> slot;
  return slot;
}
}  // namespace

frmAbout& TheFrmAbout() { return Slot().Get(); }
frmAbout* FrmAboutIfLoaded() { return Slot().IfLoaded(); }
void ResetFrmAbout() { Slot().Reset(); }

}  // namespace wb
