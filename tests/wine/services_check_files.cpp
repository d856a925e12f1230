// Checker of the real Win32 services, part four: replacing a file in one step, as every save
// of the data and settings files does.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/NativeServices.h"
#include "platform/win32/Utf.h"
#include "services_check.h"

namespace wbcheck {

using wb::win32::Narrow;

namespace {

void WriteText(const std::wstring& path, const std::string& text) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void FileChecks(Tally& t, const Setup& setup) {
  const std::wstring target = setup.scratch + L"データ.dat", source = target + L".tmp";

  WriteText(source, "first");
  t.Expect(wb::ReplaceFileAtomically(Narrow(source), Narrow(target)) && ReadText(target) == "first" && !Exists(source),
           "files: a new file is put in place");

  // The replaced file's attributes stay with the name (ReplaceFileW), unlike a plain move.
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteText(source, "second");
  const bool replaced = wb::ReplaceFileAtomically(Narrow(source), Narrow(target));
  t.Expect(replaced && ReadText(target) == "second" && !Exists(source), "files: an existing file is replaced");
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (UnderWine()) {
    t.Skip("files: the replaced file's attributes stay", "Wine's ReplaceFileW does not carry them over");
  } else {
    t.Expect(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN),
             "files: the replaced file's attributes stay", Hex(attributes));
  }
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Nothing to flush: the replacement fails and the old file stays.
  t.Expect(!wb::ReplaceFileAtomically(Narrow(setup.scratch + L"none.tmp"), Narrow(target)) &&
               ReadText(target) == "second",
           "files: a missing new file replaces nothing");
  DeleteFileW(target.c_str());
}

}  // namespace wbcheck
