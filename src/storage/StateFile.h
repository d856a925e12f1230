// The state file "WakebellState.ini" in the program's folder, beside its settings file: what this
// PC's monitor watched and handled (the catch-up's memory, model/CatchUp.h), kept apart from the
// data file, which only the editor writes and which two PCs may share. Portable: no
// operating-system header.
//
// UTF-8 text, INI-shaped, lines ending in LF (CR LF read too):
//   [State]
//   Version=1
//   WatchedUntil=yyyy/mm/dd hh:nn:ss          (local time)
//   [Handled]
//   <slot>=<fingerprint, 16 hex digits>,yyyy/mm/dd hh:nn:ss
//   ...
//   [Snooze]
//   <slot>=<fingerprint, 16 hex digits>,<snoozed at>,<rings at>,<message, escaped as in the history>
//   ...
// Sections this version does not know (a later one's snooze, say) are kept as they are and
// written back unchanged. Written by the one-step file replacement (FileIo.h).
#pragma once
#include <string>

#include <vector>

#include "model/CatchUp.h"
#include "model/Snooze.h"

namespace wb {

inline constexpr const char* kStateFileName = "WakebellState.ini";

// "WakebellState.ini" in a folder given with its trailing separator (the program folder).
std::string StatePathIn(const std::string& programFolder);

struct StateFile {
  CatchUpState catchUp;
  // The sections this version does not read, as their lines stood (each ending in LF), so a
  // later version's data survives a write by this one.
  std::string otherSections;
  // The alarms put off from their window, one per entry: they are no entries the user made,
  // so they live here and not in the data file.
  std::vector<Snooze> snoozes;
  bool operator==(const StateFile&) const = default;
};

// What ReadStateFile found.
enum class StateFileStatus { Read, Missing, Damaged };

// Reads the state. A missing, unreadable or damaged file (a bad header, version, moment, slot
// or line in a known section) gives the empty state: watchedUntil 0, so nothing counts as
// missed and nothing floods. Never throws.
// An older version's snoozes, kept in local time, are read under `olderSnoozeOffsetSeconds`.
StateFile ReadStateFile(const std::string& path, StateFileStatus* status = nullptr, int32_t olderSnoozeOffsetSeconds = 0);

// The file's text for a state, and its parser (false = damaged; `out` is then empty).
std::string FormatStateFile(const StateFile& state);
bool ParseStateFile(const std::string& text, StateFile& out, int32_t olderSnoozeOffsetSeconds = 0);

// Writes the whole state in one step; false when it could not be written (the old file is then
// still whole).
bool WriteStateFile(const std::string& path, const StateFile& state);

}  // namespace wb
