// The system clock on Windows: UTC and local time to the whole second, and the blocking wait.
#include <windows.h>

#include <cstdint>

#include "platform/NativeServices.h"
#include "platform/Services.h"
#include "platform/win32/Win32Services.h"

namespace wb {

SYSTEMTIME win32::SystemTimeOf(OleDate local) {
  const CivilTime c = ToCivil(local);
  SYSTEMTIME st{};
  st.wYear = WORD(c.year);
  st.wMonth = WORD(c.month);
  st.wDay = WORD(c.day);
  st.wHour = WORD(c.hour);
  st.wMinute = WORD(c.minute);
  st.wSecond = WORD(c.second);
  return st;
}
namespace {

int64_t SecondOf(const SYSTEMTIME& st) {
  return SecondNumber(MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond));
}

class Win32Clock : public IClock {
 public:
  Moment Read() override {
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    // The local time of that very UTC reading, by the zone's rules for it.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    const int64_t utcSecond = SecondOf(utc);
    return {UtcSecond(utcSecond), int32_t(SecondOf(local) - utcSecond)};
  }
  void Sleep(int milliseconds) override {
    if (milliseconds > 0) ::Sleep(DWORD(milliseconds));
  }
  int UtcOffsetMinutes(OleDate local) override {
    const SYSTEMTIME lt = win32::SystemTimeOf(local);
    SYSTEMTIME utc{};
    FILETIME localFile{}, utcFile{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &lt, &utc) || !SystemTimeToFileTime(&lt, &localFile) ||
        !SystemTimeToFileTime(&utc, &utcFile))
      return 0;
    const auto ticks = [](const FILETIME& f) { return (int64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return int((ticks(localFile) - ticks(utcFile)) / (10'000'000LL * 60));
  }
};

}  // namespace

std::unique_ptr<IClock> MakeNativeClock() { return std::make_unique<Win32Clock>(); }

}  // namespace wb
