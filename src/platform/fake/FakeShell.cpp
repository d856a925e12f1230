#include "platform/fake/FakeShell.h"

#include <algorithm>
#include <cctype>

namespace wb::fake {

namespace {
std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}
}  // namespace

bool FakeShell::FileExists(const std::string& path) {
  ++ExistsCalls;
  return Files.count(path) != 0;
}

bool FakeShell::FolderHasFiles(const std::string& folder) {
  const std::string prefix = folder + "\\";
  for (auto& [path, link] : Files)
    if (path.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

bool FakeShell::CreateShortcut(const std::string& linkPath, const std::string& target, int showCommand) {
  ++CreateCalls;
  Link& l = Files[linkPath];
  l.target = target;
  l.showCommand = showCommand;
  ++l.writes;
  return true;
}

bool FakeShell::RemoveFile(const std::string& path) {
  ++DeleteCalls;
  return Files.erase(path) != 0;
}

std::string FakeShell::Environment(const std::string& name) {
  for (auto& [k, v] : Env)
    if (Upper(k) == Upper(name)) return v;
  return "";
}

std::string FakeShell::ExpandEnvironment(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('%', i);
    size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    const std::string name = text.substr(open + 1, close - open - 1);
    bool known = false;
    for (auto& [k, v] : Env)
      if (Upper(k) == Upper(name)) {
        out += v;
        known = true;
        break;
      }
    if (known) {
      i = close + 1;
    } else {
      out += '%' + name;  // the closing % may open the next reference
      i = close;
    }
  }
  return out;
}

}  // namespace wb::fake
