// Checker of the real Win32 services, part three: registry reads of the values the script
// wrote with "reg add" (and a few we write ourselves), and the instance guard seen from a
// second process of this checker.
#include <windows.h>

#include <vector>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"
#include "services_check.h"

namespace wbcheck {

using wb::win32::Widen;

namespace {

constexpr uint32_t kKeyRead = 0x20019;
const char* const kKey = "Software\\WakebellCheck";

std::vector<uint8_t> Bytes(const std::string& s, bool nul) {
  std::vector<uint8_t> b(s.begin(), s.end());
  if (nul) b.push_back(0);
  return b;
}

bool ReadIs(wb::IRegistry& reg, wb::RegRoot root, const char* value, uint32_t type, const std::vector<uint8_t>& bytes) {
  wb::RegValue got;
  return reg.Read(root, kKey, value, kKeyRead, 1024, got) && got.type == type && got.bytes == bytes;
}

// Runs this checker again in `mode` and answers its exit code.
DWORD RunSelf(const std::wstring& arguments, DWORD timeoutMs = 20000) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 99;
  DWORD code = 98;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

constexpr int kSeesOther = 10, kSeesNone = 11;
const char* const kTestMutex = "Local\\WakebellCheck.Instance";

}  // namespace

void RegistryChecks(Tally& t, const Setup& setup) {
  auto reg = wb::MakeWin32Registry();
  using wb::RegRoot;
  if (!setup.registry) {
    t.Skip("registry values of the script", "run without --registry");
  } else {
    t.Expect(ReadIs(*reg, RegRoot::CurrentUser, "Text", 1, Bytes("\u76EE\u899A\u307E\u3057 C:\\Tools", true)),
             "registry: REG_SZ as UTF-8 with its NUL");
    t.Expect(ReadIs(*reg, RegRoot::CurrentUser, "Number", 4, {0x78, 0x56, 0x34, 0x12}),
             "registry: REG_DWORD as four little-endian bytes");
    t.Expect(ReadIs(*reg, RegRoot::LocalMachine, "Path", 1, Bytes("C:\\windows\\system32", true)),
             "registry: REG_SZ under the local machine");
  }

  // Values written here with the exact byte counts that "reg add" cannot produce.
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, Widen(kKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  // The system adds a NUL that lies just past the counted bytes, so the buffer holds none there.
  const std::wstring noNul = L"\u9234abcX";
  RegSetValueExW(key, L"NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(noNul.data()), DWORD((noNul.size() - 1) * 2));
  const BYTE raw[] = {0x00, 0xFF, 0x10};
  RegSetValueExW(key, L"Raw", 0, REG_BINARY, raw, sizeof raw);
  const std::wstring big(600, L'x');
  RegSetValueExW(key, L"Big", 0, REG_SZ, reinterpret_cast<const BYTE*>(big.c_str()), DWORD(big.size() * 2 + 2));
  RegCloseKey(key);

  t.Expect(ReadIs(*reg, RegRoot::CurrentUser, "NoNul", 1, Bytes("\u9234abc", false)),
           "registry: a string stored without NUL gains none");
  t.Expect(ReadIs(*reg, RegRoot::CurrentUser, "Raw", 3, {0x00, 0xFF, 0x10}), "registry: binary data raw");
  wb::RegValue got;
  got.type = 77;
  t.Expect(!reg->Read(RegRoot::CurrentUser, kKey, "Big", kKeyRead, 1024, got) && got.bytes.empty() && got.type == 0,
           "registry: a value larger than the buffer fails");
  t.Expect(reg->Read(RegRoot::CurrentUser, kKey, "Big", kKeyRead, 4096, got) && got.bytes.size() == 601,
           "registry: the same value fits a larger buffer");
  t.Expect(!reg->Read(RegRoot::CurrentUser, kKey, "Missing", kKeyRead, 1024, got), "registry: a missing value fails");
  t.Expect(!reg->Read(RegRoot::CurrentUser, "Software\\WakebellCheck\\Missing", "Text", kKeyRead, 1024, got),
           "registry: a missing key fails");
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kKey).c_str());
}

int ProbeInstanceMode() {
  auto instance = wb::MakeWin32Instance(kTestMutex);
  return instance->OtherInstanceRunning() ? kSeesOther : kSeesNone;
}

int HoldInstanceMode(const std::wstring& readyEvent, const std::wstring& goEvent) {
  auto instance = wb::MakeWin32Instance(kTestMutex);
  instance->OtherInstanceRunning();
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, goEvent.c_str());
  if (!ready || !go) return 2;
  SetEvent(ready);
  WaitForSingleObject(go, 20000);
  return 0;
}

void InstanceChecks(Tally& t) {
  {
    auto instance = wb::MakeWin32Instance(kTestMutex);
    t.Expect(!instance->OtherInstanceRunning(), "instance: the first process sees no other");
    t.Expect(RunSelf(L"--probe-instance") == kSeesOther, "instance: a second process sees the first running");
    t.Expect(!instance->OtherInstanceRunning(), "instance: a retry of the only process still sees none");
    t.Expect(RunSelf(L"--probe-instance") == kSeesOther, "instance: still held after the retry");
  }
  t.Expect(RunSelf(L"--probe-instance") == kSeesNone, "instance: none seen once the first has ended");

  // A later retry must notice that the other instance has gone in the meantime.
  const std::wstring readyName = L"Local\\WakebellCheck.Ready", goName = L"Local\\WakebellCheck.Go";
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, goName.c_str());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --hold-instance " + readyName + L" " + goName;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) &&
      WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0) {
    auto instance = wb::MakeWin32Instance(kTestMutex);
    t.Expect(instance->OtherInstanceRunning(), "instance: sees the other process that holds it");
    t.Expect(instance->OtherInstanceRunning(), "instance: a retry still sees it while it runs");
    SetEvent(go);
    WaitForSingleObject(pi.hProcess, 20000);
    t.Expect(!instance->OtherInstanceRunning(), "instance: a retry after the other ended sees none");
    t.Expect(RunSelf(L"--probe-instance") == kSeesOther, "instance: and now holds it for this process");
  } else {
    t.Expect(false, "instance: the holding process started");
  }
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  CloseHandle(ready);
  CloseHandle(go);
}

}  // namespace wbcheck
