// Reading one registry value. Strings come back as UTF-8 with the stored trailing NUL kept
// (the caller drops one, as it would after the ANSI call); numbers and other data as raw bytes.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The UTF-16 data of a string value as UTF-8; a final NUL unit stays one NUL byte.
std::vector<uint8_t> StringBytes(const BYTE* data, DWORD size) {
  std::wstring wide(size / sizeof(wchar_t), L'\0');  // an odd stray byte is no character
  if (!wide.empty()) memcpy(wide.data(), data, wide.size() * sizeof(wchar_t));
  const bool endsInNul = !wide.empty() && wide.back() == L'\0';
  if (endsInNul) wide.pop_back();
  std::string utf8 = win32::Narrow(wide);
  std::vector<uint8_t> bytes(utf8.begin(), utf8.end());
  if (endsInNul) bytes.push_back(0);
  return bytes;
}

class Win32Registry final : public IRegistry {
 public:
  bool Read(RegRoot root, const std::string& key, const std::string& value, uint32_t access,
            uint32_t bufferSize, RegValue& out) override {
    out = RegValue{};
    win32::UniqueRegKey opened;
    if (RegOpenKeyExW(root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      win32::Widen(key).c_str(), 0, REGSAM(access), opened.Put()) != ERROR_SUCCESS)
      return false;
    std::vector<BYTE> buffer(bufferSize);
    DWORD type = 0, size = bufferSize;
    const LSTATUS status = RegQueryValueExW(opened.Get(), win32::Widen(value).c_str(), nullptr, &type,
                                            buffer.empty() ? nullptr : buffer.data(), &size);
    // A value larger than the buffer is a failure (ERROR_MORE_DATA), as with a fixed buffer.
    if (status != ERROR_SUCCESS || size > bufferSize) return false;
    out.type = type;
    if (IsStringType(type))
      out.bytes = StringBytes(buffer.data(), size);
    else
      out.bytes.assign(buffer.begin(), buffer.begin() + size);  // REG_DWORD: little-endian already
    return true;
  }
};

}  // namespace

std::unique_ptr<IRegistry> MakeWin32Registry() { return std::make_unique<Win32Registry>(); }

}  // namespace wb
