#include "platform/fake/FakeMci.h"

#include <algorithm>
#include <cctype>

namespace wb::fake {
namespace {
const std::string kAlias = "mymedia";
const std::string kOpenTail = "\" alias mymedia";

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}
}  // namespace

bool FakeMci::Refused(const std::string& file) const {
  if (RefusedFiles.count(file)) return true;
  const size_t slash = file.find_last_of("\\/");
  const size_t dot = file.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  return RefusedExtensions.count(Lower(file.substr(dot))) != 0;
}

uint32_t FakeMci::Send(const std::string& command, std::string* reply) {
  Commands.push_back(command);
  if (Journal) Journal->push_back("mci " + command);
  if (reply) reply->clear();
  const bool open = state_ != State::Closed;

  if (command == "status mymedia mode") {
    if (!open) return kInvalidDeviceName;
    if (reply) *reply = state_ == State::Playing ? "playing" : "stopped";
    return 0;
  }
  if (command.rfind("open \"", 0) == 0 && command.size() > 6 + kOpenTail.size() &&
      command.compare(command.size() - kOpenTail.size(), kOpenTail.size(), kOpenTail) == 0) {
    if (open) return kDuplicateAlias;
    std::string file = command.substr(6, command.size() - 6 - kOpenTail.size());
    if (Refused(file)) return kCannotLoadDriver;
    file_ = std::move(file);
    state_ = State::Stopped;
    return 0;
  }
  if (command == "play mymedia" || command == "play mymedia from 0") {
    if (!open) return kInvalidDeviceName;
    state_ = State::Playing;
    ++plays_;
    return 0;
  }
  if (command == "stop mymedia") {
    if (!open) return kInvalidDeviceName;
    state_ = State::Stopped;
    return 0;
  }
  if (command == "close mymedia") {
    if (!open) return kInvalidDeviceName;
    state_ = State::Closed;
    file_.clear();
    return 0;
  }
  return kUnrecognizedCommand;
}

void FakeMci::EndSound() {
  if (state_ == State::Playing) state_ = State::Stopped;
}

std::vector<std::string> FakeMci::CommandsWithoutStatus() const {
  std::vector<std::string> out;
  for (const std::string& c : Commands)
    if (c != "status mymedia mode") out.push_back(c);
  return out;
}

}  // namespace wb::fake
