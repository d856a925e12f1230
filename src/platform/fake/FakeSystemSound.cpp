#include "platform/fake/FakeSystemSound.h"

namespace wb::fake {

bool FakeSystemSound::Play(const std::string& file, uint32_t flags) {
  Calls.push_back(Call{file, flags});
  if (Journal) Journal->push_back("sound " + file + " " + std::to_string(flags));
  if (file.empty()) {  // no sound name: stop what plays
    Playing.clear();
    return true;
  }
  constexpr uint32_t kNoStop = 0x10;
  if (Fails || ((flags & kNoStop) && !Playing.empty())) return false;
  Playing = file;
  return true;
}

}  // namespace wb::fake
