#include "storage/StateFile.h"

namespace wb {

// First commit: the interface only; the reader and writer follow.
std::string StatePathIn(const std::string& programFolder) { return programFolder + kStateFileName; }
StateFile ReadStateFile(const std::string&, StateFileStatus* status) {
  if (status) *status = StateFileStatus::Missing;
  return {};
}
std::string FormatStateFile(const StateFile&) { return {}; }
bool ParseStateFile(const std::string&, StateFile& out) {
  out = {};
  return false;
}
bool WriteStateFile(const std::string&, const StateFile&) { return false; }

}  // namespace wb
