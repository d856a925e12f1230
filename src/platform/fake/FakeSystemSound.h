// The system sound function for tests: records every call and keeps what is playing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeSystemSound : public ISystemSound {
 public:
  struct Call {
    std::string file;
    uint32_t flags;
  };
  std::vector<Call> Calls;
  std::vector<std::string>* Journal = nullptr;  // shared record: "sound <file> <flags>"
  std::string Playing;  // the file sounding now, "" for silence
  bool Fails = false;   // the function reports failure and plays nothing

  bool Play(const std::string& file, uint32_t flags) override;
  void EndSound() { Playing.clear(); }
};

}  // namespace wb::fake
