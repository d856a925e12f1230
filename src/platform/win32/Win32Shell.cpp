// The Startup folder, shell links and environment strings. A link is written through the
// shell-link object, which needs COM on the calling thread for the duration of the call.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {

namespace win32 {

bool FileExistsW(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace win32

namespace {

class Win32Shell final : public IShell {
 public:
  std::string StartupFolder() override {
    // Created when missing: a link saved into a folder that is not there is silently lost.
    win32::UniqueCoTaskString path;  // freed even when the call fails
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, path.Put())))
      folder = win32::Narrow(path.Get());
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
  }

  bool FileExists(const std::string& path) override { return win32::FileExistsW(win32::Widen(path)); }

  bool FolderHasFiles(const std::string& folder) override {
    if (folder.empty()) return false;
    const std::wstring pattern = win32::Widen(folder) + L"\\*";
    WIN32_FIND_DATAW found;
    const win32::UniqueFind search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                                    FindExSearchNameMatch, nullptr, 0));
    if (!search) return false;
    bool any = false;
    do {
      any = !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);  // ".", ".." and subfolders
    } while (!any && FindNextFileW(search.Get(), &found));
    return any;
  }

  bool CreateShortcut(const std::string& linkPath, const std::string& target, int showCommand) override {
    win32::ComScope com;
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
      return false;
    const std::wstring wideTarget = win32::Widen(target);
    if (FAILED(link->SetPath(wideTarget.c_str())) || FAILED(link->SetShowCmd(showCommand)))
      return false;
    win32::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())))
      return false;
    const std::wstring wideLink = win32::Widen(linkPath);
    return SUCCEEDED(file->Save(wideLink.c_str(), TRUE));
  }

  bool RemoveFile(const std::string& path) override {
    return ::DeleteFileW(win32::Widen(path).c_str()) != FALSE;
  }

  std::string ExpandEnvironment(const std::string& text) override {
    const std::wstring source = win32::Widen(text);
    std::wstring expanded(std::max<size_t>(source.size() + 1, MAX_PATH), L'\0');
    for (;;) {  // the needed size may grow between the calls if the environment changes
      const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(), DWORD(expanded.size()));
      if (needed == 0) return text;
      if (needed <= expanded.size()) {
        expanded.resize(needed - 1);  // the count includes the NUL
        return win32::Narrow(expanded);
      }
      expanded.resize(needed);
    }
  }

  std::string Environment(const std::string& name) override {
    const std::wstring wideName = win32::Widen(name);
    std::wstring value(64, L'\0');
    for (;;) {
      const DWORD needed = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), DWORD(value.size()));
      if (needed == 0) return {};  // missing (or empty)
      if (needed < value.size()) {
        value.resize(needed);  // on success the count excludes the NUL
        return win32::Narrow(value);
      }
      value.resize(needed);  // too small: the count includes the NUL
    }
  }
};

}  // namespace

std::unique_ptr<IShell> MakeWin32Shell() { return std::make_unique<Win32Shell>(); }

}  // namespace wb
