// Message boxes and the common dialogs (open file, colour, font) for the window logic. Each is
// owned by the window the user is working in, so it is modal to it.
#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

// The dialog interface has members of these names; the functions are called by their W names.
#undef ChooseColor
#undef ChooseFont

#include <vector>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"

namespace wb {
namespace win32 {

std::wstring FilterList(const std::string& filter) {
  std::wstring list = Widen(filter);
  for (wchar_t& ch : list)
    if (ch == L'|') ch = L'\0';
  list.push_back(L'\0');  // the list ends with an empty entry
  list.push_back(L'\0');
  return list;
}

// The pattern of the filter list's item `index` (from 1), as FilterList lays it out.
std::wstring FilterPattern(const std::wstring& list, DWORD index) {
  size_t at = 0;
  for (DWORD item = 1; at < list.size() && list[at] != L'\0'; ++item) {
    const size_t description = list.find(L'\0', at);
    const size_t patternEnd = list.find(L'\0', description + 1);
    if (item == index) return list.substr(description + 1, patternEnd - description - 1);
    at = patternEnd + 1;
  }
  return {};
}

void SplitDialogPath(const std::wstring& path, std::wstring& folder, std::wstring& file) {
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    folder.clear();
    file = path;
  } else {
    folder = path.substr(0, slash + 1);
    file = path.substr(slash + 1);
  }
}

}  // namespace win32

namespace {

HWND DialogOwner() {
  HWND h = GetActiveWindow();
  return h && IsWindowVisible(h) ? h : nullptr;
}

class Win32Dialogs : public IDialogs {
 public:
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    // The style and answer numbers are those of MessageBox.
    return MessageBoxW(DialogOwner(), win32::Widen(text).c_str(), win32::Widen(title).c_str(), UINT(style));
  }

  int Choose(const std::string& text, const std::vector<std::string>& buttons, int icon,
             const std::string& title) override {
    constexpr int kFirstButtonId = 100;
    std::vector<std::wstring> captions;
    for (const std::string& b : buttons) captions.push_back(win32::Widen(b));
    // The last button (the one that changes nothing) is IDCANCEL, the answer of Escape and the
    // close box: a task dialog without such a button ignores Escape in some versions (Wine's).
    auto idOf = [&](size_t i) { return i + 1 == captions.size() ? IDCANCEL : kFirstButtonId + int(i); };
    std::vector<TASKDIALOG_BUTTON> list;
    for (size_t i = 0; i < captions.size(); ++i) list.push_back({idOf(i), captions[i].c_str()});
    const std::wstring content = win32::Widen(text), caption = win32::Widen(title);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = DialogOwner();
    // Escape and the close box give IDCANCEL: the last button's answer.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = caption.c_str();
    config.pszMainIcon = icon == kIconQuestion || icon == kIconInformation ? TD_INFORMATION_ICON
                         : icon == kIconCritical                             ? TD_ERROR_ICON
                                                                             : TD_WARNING_ICON;
    config.pszContent = content.c_str();
    config.cButtons = UINT(list.size());
    config.pButtons = list.data();
    config.nDefaultButton = IDCANCEL;  // Enter changes nothing either
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)))
      return IDialogs::Choose(text, buttons, icon, title);
    const int index = pressed - kFirstButtonId;
    return index >= 0 && index + 1 < int(buttons.size()) ? index : int(buttons.size()) - 1;
  }

  bool OpenFile(const std::string& title, const std::string& filter, std::string& path) override {
    return OpenFileWith(title, filter, path, OpenFileOptions{});
  }

  bool OpenFileWith(const std::string& title, const std::string& filter, std::string& path,
                    const OpenFileOptions& options) override {
    std::wstring folder, file, filters = win32::FilterList(filter), caption = win32::Widen(title);
    std::wstring extension = win32::Widen(options.defaultExtension);
    if (!extension.empty() && extension[0] == L'.') extension.erase(0, 1);  // the dialog wants it bare
    win32::SplitDialogPath(win32::Widen(path), folder, file);
    std::vector<wchar_t> buffer(32768, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
      file.copy(buffer.data(), std::min(file.size(), buffer.size() - 1));
      OPENFILENAMEW ofn{};
      ofn.lStructSize = sizeof ofn;
      ofn.hwndOwner = DialogOwner();
      ofn.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
      ofn.nFilterIndex = 1;
      ofn.lpstrFile = buffer.data();
      ofn.nMaxFile = DWORD(buffer.size());
      ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
      ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
      // The current directory stays where the program put it: its files are found from there.
      ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
      // With the create question the file need not exist: some dialogs (Wine's) would refuse a
      // new name before asking if both were set.
      ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                  (options.save ? OFN_OVERWRITEPROMPT : options.createPrompt ? OFN_CREATEPROMPT : OFN_FILEMUSTEXIST);
      if (options.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)) {
        std::wstring result = buffer.data();
        // A new name typed without an extension gets the default one, as the dialog promises;
        // some open dialogs (Wine's) leave it off for a file that does not exist yet.
        size_t name = result.find_last_of(L"\\/") + 1;
        // A file to write takes the extension of the kind chosen in the list, which tells
        // what is written ("*.csv" of the second item).
        if (options.save && result.find(L'.', name) == std::wstring::npos) {
          const std::wstring pattern = win32::FilterPattern(filters, ofn.nFilterIndex);
          if (pattern.size() > 2 && pattern.compare(0, 2, L"*.") == 0 && pattern.find_first_of(L";*", 2) == std::wstring::npos)
            result += pattern.substr(1);
        }
        if (!extension.empty() && result.find(L'.', name) == std::wstring::npos &&
            GetFileAttributesW(result.c_str()) == INVALID_FILE_ATTRIBUTES)
          result += L"." + extension;
        path = win32::Narrow(result);
        return true;
      }
      // A name the dialog cannot take (bad characters, too long) would keep it from opening at
      // all; offer no name instead. Cancelling is not an error.
      if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || file.empty()) return false;
      file.clear();
      std::fill(buffer.begin(), buffer.end(), L'\0');
    }
    return false;
  }

  bool ChooseColor(uint32_t& color) override {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = DialogOwner();
    cc.rgbResult = win32::ToColorRef(color);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!::ChooseColorW(&cc)) return false;
    color = uint32_t(cc.rgbResult);
    return true;
  }

  bool ChooseFont(ui::Font& font) override {
    HWND owner = DialogOwner();
    UINT dpi = win32::WindowDpi(nullptr);  // the dialog converts points at the system DPI
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.size, int(dpi), 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethru;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wstring face = win32::Widen(font.name).substr(0, LF_FACESIZE - 1);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    // Screen and printer fonts plus effects, started from the current choice.
    cf.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontW(&cf)) return false;
    font.name = win32::Narrow(lf.lfFaceName);
    // Tenths of a point to whole points, halves to even (10.5 gives 10, 11.5 gives 12).
    const int whole = cf.iPointSize / 10, tenths = cf.iPointSize % 10;
    font.size = whole + (tenths > 5 || (tenths == 5 && whole % 2 == 1) ? 1 : 0);
    font.bold = lf.lfWeight >= FW_BOLD;
    font.italic = lf.lfItalic != 0;
    font.underline = lf.lfUnderline != 0;
    font.strikethru = lf.lfStrikeOut != 0;
    return true;
  }
};

}  // namespace

std::unique_ptr<IDialogs> MakeWin32Dialogs() { return std::make_unique<Win32Dialogs>(); }

}  // namespace wb
