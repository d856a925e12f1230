// The system clock on Windows: local time to the whole second, and the blocking wait.
#include <windows.h>

#include "platform/NativeServices.h"
#include "platform/Services.h"

namespace wb {
namespace {

class Win32Clock : public IClock {
 public:
  OleDate Now() override {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  }
  void Sleep(int milliseconds) override {
    if (milliseconds > 0) ::Sleep(DWORD(milliseconds));
  }
};

}  // namespace

std::unique_ptr<IClock> MakeNativeClock() { return std::make_unique<Win32Clock>(); }

}  // namespace wb
