// The system sound function, the fallback player for wave files MCI refuses.
#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

class Win32SystemSound final : public ISystemSound {
 public:
  bool Play(const std::string& file, uint32_t flags) override {
    // No name means "stop the sound that plays", which the dismiss and shut-down rules use.
    if (file.empty()) return sndPlaySoundW(nullptr, flags) != FALSE;
    const std::wstring wide = win32::Widen(file);
    return sndPlaySoundW(wide.c_str(), flags) != FALSE;
  }
};

}  // namespace

std::unique_ptr<ISystemSound> MakeWin32SystemSound() { return std::make_unique<Win32SystemSound>(); }

}  // namespace wb
