// The About box: the program's title and version, and the button that starts the system
// information tool found through the registry. Portable window logic: it reaches the registry,
// the file system and other programs only through platform/ services. Reached as
// ui::TheForm<AboutBox>().
#pragma once
#include <array>
#include <string>

#include "app_state/Version.h"
#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb {

inline constexpr const char* kSysInfoUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";

class AboutBox : public ui::Form {
 public:
  AboutBox();

  ui::PictureBox iconPicture;
  ui::Label titleLabel;
  ui::Label versionLabel;
  ui::Label descriptionLabel;
  std::array<ui::Line, 2> separatorLines;  // an etched line: shadow over highlight
  ui::Button okButton;
  ui::Button systemInfoButton;

 private:
  void ShowTitleAndVersion();
  void StartSystemInfo();
};

// Reads one registry value as text: REG_SZ as the string without its terminating NUL (UTF-8,
// as the registry service hands it over), REG_DWORD as the decimal number, other types as
// empty text (still a success). False, with empty text, when the key cannot be opened or the
// value cannot be read.
bool GetKeyValue(RegRoot root, const std::string& keyName, const std::string& valueName, std::string& value);

}  // namespace wb
