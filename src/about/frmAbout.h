// frmAbout: the About box with the program's title and version, and the button that starts
// the system information tool found through the registry. Portable window logic: it reaches
// the registry, the file system and other programs only through platform/ services.
#pragma once
#include <string>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb {

inline constexpr const char* kAppTitle = "Wakebell";
inline constexpr int kVersionMajor = 1, kVersionMinor = 0, kVersionRevision = 5;
inline constexpr const char* kSysInfoUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";

class frmAbout : public ui::Form {
 public:
  frmAbout();

  ui::PictureBox picIcon;
  ui::Label lblTitle;
  ui::Label lblVersion;
  ui::Label lblDescription;
  ui::Line Line1;
  ui::Line Line2;
  ui::Button cmdOK;
  ui::Button cmdSysInfo;

  void Form_Load();
  void StartSysInfo();
};

// Reads one registry value as text: REG_SZ as the string without its terminating NUL,
// REG_DWORD as the decimal number, other types as empty text (still a success). False, with
// empty text, when the key cannot be opened or the value cannot be read.
bool GetKeyValue(RegRoot root, const std::string& keyName, const std::string& valueName, std::string& value);

frmAbout& TheFrmAbout();              // touching the box creates it hidden
frmAbout* FrmAboutIfLoaded();
void ResetFrmAbout();                 // tests: forget the window entirely

}  // namespace wb
