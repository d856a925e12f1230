// Whether another instance of the program runs in this session: a named mutex that the
// running instance holds open for its whole life.
#include <windows.h>

#include <utility>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

class Win32Instance final : public IInstance {
 public:
  explicit Win32Instance(std::wstring name) : name_(std::move(name)) {}

  // A call that found the mutex held lets go of our handle and creates it again, so that a
  // retry sees whether the other process still holds it. Once ours made it, it stays ours:
  // two copies started together must never both let go and both end.
  bool OtherInstanceRunning() override {
    if (created_) return false;
    mutex_.Reset();
    HANDLE created = CreateMutexW(nullptr, FALSE, name_.c_str());
    const DWORD error = GetLastError();
    mutex_.Reset(created);
    created_ = mutex_ && error != ERROR_ALREADY_EXISTS;
    // A mutex we may not open (another user's, say) was made by a running instance all the same.
    return mutex_ ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
  }

 private:
  std::wstring name_;
  win32::UniqueHandle mutex_;
  bool created_ = false;  // this process made the mutex and holds it
};

}  // namespace

std::unique_ptr<IInstance> MakeWin32Instance(const std::string& mutexName) {
  return std::make_unique<Win32Instance>(win32::Widen(mutexName));
}

}  // namespace wb
