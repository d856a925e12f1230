// Checker of the real Win32 services, part two: Startup folder and shell links, environment,
// launcher, program folder, registry and the instance guard across two processes.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <fstream>

#include "platform/NativeServices.h"
#include "platform/Services.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"
#include "services_check.h"

namespace wbcheck {

using wb::win32::Narrow;
using wb::win32::Widen;

namespace {

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// What the link file really holds, read back through the shell's own object.
bool ReadLink(const std::string& link, std::wstring& target, int& showCommand) {
  wb::win32::ComScope com;
  IShellLinkW* shellLink = nullptr;
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&shellLink))) &&
            SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ));
  if (ok) {
    wchar_t path[MAX_PATH] = {};
    ok = SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
         SUCCEEDED(shellLink->GetShowCmd(&showCommand));
    target = path;
  }
  if (file) file->Release();
  if (shellLink) shellLink->Release();
  return ok;
}

int LinkShowCommand(const std::string& link) {
  std::ifstream in(std::filesystem::path(Widen(link)), std::ios::binary);
  unsigned char header[0x40] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return -1;
  return header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
}

bool SameText(const std::string& a, const std::string& b) {
  return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

void LinkChecks(Tally& t, wb::IShell& shell) {
  const std::string startup = shell.StartupFolder().value_or("");
  t.Expect(!startup.empty() && startup.back() != '\\', "Startup folder: named without a trailing backslash", startup);
  t.Expect(IsFolder(startup), "Startup folder: exists");

  const std::string target = shell.ExpandEnvironment("%WINDIR%\\notepad.exe");
  t.Expect(SameText(target, shell.Environment("WINDIR") + "\\notepad.exe") && target.find('%') == std::string::npos,
           "expand: %WINDIR% is replaced", target);
  const std::string link = startup + "\\WakebellCheck.lnk";
  shell.RemoveFile(link);
  t.Expect(shell.CreateShortcut(link, target, 4), "shortcut: created");
  t.Expect(shell.FileExists(link), "shortcut: the file exists");
  t.Expect(shell.FolderHasFiles(startup), "shortcut: the Startup folder has files");
  std::wstring stored;
  int show = 0;
  const bool read = ReadLink(link, stored, show);
  t.Expect(read && SameText(Narrow(stored), target), "shortcut: holds the target", Narrow(stored));
  // The shell's reader turns every style but 1, 3 and 7 into 1, so the stored header is read
  // itself: the show command is the 32-bit field at offset 0x3C of the link file.
  t.Expect(LinkShowCommand(link) == 4, "shortcut: stores window style 4", std::to_string(LinkShowCommand(link)));
  t.Expect(shell.RemoveFile(link), "shortcut: deleted");
  t.Expect(!shell.FileExists(link), "shortcut: gone after delete");
  t.Expect(!shell.RemoveFile(link), "shortcut: deleting a missing file reports failure");
}

void FileChecks(Tally& t, wb::IShell& shell, const Setup& setup) {
  namespace fs = std::filesystem;
  const std::string folder = Narrow(setup.scratch) + "\u7A7A\u30D5\u30A9\u30EB\u30C0";  // an empty folder
  fs::create_directories(fs::path(Widen(folder)) / L"sub");
  t.Expect(!shell.FolderHasFiles(folder), "folder with only a subfolder: no files");
  t.Expect(!shell.FileExists(folder), "a folder is no file");
  t.Expect(!shell.FolderHasFiles(folder + "\\missing"), "missing folder: no files");
  const std::string file = folder + "\\\u30E1\u30E2.txt";
  std::ofstream(fs::path(Widen(file))) << "x";
  t.Expect(shell.FolderHasFiles(folder) && shell.FileExists(file), "folder with a Japanese-named file: has files");

  SetEnvironmentVariableW(L"WB_CHECK_VAR", L"\u76EE\u899A\u307E\u3057");
  t.Expect(shell.Environment("WB_CHECK_VAR") == "\u76EE\u899A\u307E\u3057", "environment: Japanese value");
  t.Expect(shell.ExpandEnvironment("[%WB_CHECK_VAR%]") == "[\u76EE\u899A\u307E\u3057]",
           "expand: Japanese value");
  t.Expect(shell.Environment("WB_CHECK_MISSING").empty(), "environment: missing variable is empty");
  const std::string longValue(3000, 'v');
  SetEnvironmentVariableW(L"WB_CHECK_LONG", Widen(longValue).c_str());
  t.Expect(shell.Environment("WB_CHECK_LONG") == longValue, "environment: long value whole");
  t.Expect(shell.ExpandEnvironment("%WB_CHECK_LONG%%WB_CHECK_LONG%") == longValue + longValue,
           "expand: long result whole");
}

void LauncherChecks(Tally& t, const Setup& setup) {
  namespace fs = std::filesystem;
  auto launcher = wb::MakeWin32Launcher();
  const fs::path script = fs::path(setup.scratch) / L"launch.cmd";
  const fs::path marker = fs::path(setup.scratch) / L"launched.txt";
  std::ofstream(script) << "@echo started> \"" << marker.string() << "\"\r\n";
  t.Expect(launcher->FileExists(Narrow(script.wstring())), "launcher: sees the script");
  t.Expect(!launcher->FileExists(Narrow(setup.scratch)), "launcher: a folder is no file");
  t.Expect(launcher->Start(Narrow(script.wstring())), "launcher: starts the script");
  std::error_code ec;
  t.Expect(PumpUntil([&] { return fs::exists(marker, ec); }, 15000), "launcher: the started script ran");
  t.Expect(!launcher->Start(Narrow(setup.scratch) + "no-such-program.exe"), "launcher: a missing program fails");
}

// One reading of the clock gives the UTC second and the local offset together: both must be
// the system's own, and the offset the one the zone's rules give for that local time.
void ClockChecks(Tally& t) {
  const auto clock = wb::MakeNativeClock();
  const wb::Moment m = clock->Read();
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  GetLocalTime(&local);
  auto second = [](const SYSTEMTIME& st) {
    return wb::SecondNumber(wb::MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond));
  };
  t.Expect(second(utc) - m.utc.Count() >= 0 && second(utc) - m.utc.Count() <= 2, "clock: the UTC second is the system's",
           std::to_string(second(utc) - m.utc.Count()));
  t.Expect(second(local) - m.Local() >= 0 && second(local) - m.Local() <= 2, "clock: the local second is the system's",
           std::to_string(second(local) - m.Local()));
  t.Expect(m.offsetSeconds == clock->UtcOffsetMinutes(wb::LocalDateOf(m)) * 60,
           "clock: the offset is the zone's for that local time", std::to_string(m.offsetSeconds));
}

}  // namespace

void ShellChecks(Tally& t, const Setup& setup) {
  auto shell = wb::MakeWin32Shell();
  LinkChecks(t, *shell);
  FileChecks(t, *shell, setup);
  LauncherChecks(t, setup);
  ClockChecks(t);

  const std::string folder = wb::ProgramFolder();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring name = std::filesystem::path(self).filename().wstring();
  t.Expect(!folder.empty() && folder.back() == '\\' && shell->FileExists(folder + Narrow(name)),
           "program folder: ends in a backslash and holds this program", folder);
}

}  // namespace wbcheck
