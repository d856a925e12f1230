// A fake MCI that models the one device the program opens: closed, open and playing, or open
// and stopped. Every command string is recorded in order; a test ends the sound, and files
// are refused by extension or by name as the test scripts.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeMci : public IMci {
 public:
  enum class State { Closed, Playing, Stopped };

  // Error codes of the real interface that the fake answers with.
  static constexpr uint32_t kInvalidDeviceName = 263;  // no device open under the alias
  static constexpr uint32_t kDuplicateAlias = 289;
  static constexpr uint32_t kCannotLoadDriver = 266;   // the file is not playable
  static constexpr uint32_t kUnrecognizedCommand = 261;

  std::vector<std::string> Commands;  // every command string, in order
  std::vector<std::string>* Journal = nullptr;  // shared record across fakes: "mci <command>"
  // Files MCI cannot play: by extension (lower case, with the dot, e.g. ".mid") or full path.
  // "open" of such a file fails and leaves the device closed.
  std::set<std::string> RefusedExtensions;
  std::set<std::string> RefusedFiles;

  uint32_t Send(const std::string& command, std::string* reply = nullptr) override;

  // The sound reached its end: a playing device becomes stopped.
  void EndSound();
  State GetState() const { return state_; }
  const std::string& OpenFile() const { return file_; }  // "" while closed
  int Plays() const { return plays_; }  // successful "play" commands, replays included
  // The commands without the mode queries, which the rules send before every decision.
  std::vector<std::string> CommandsWithoutStatus() const;

 private:
  bool Refused(const std::string& file) const;
  State state_ = State::Closed;
  std::string file_;
  int plays_ = 0;
};

}  // namespace wb::fake
