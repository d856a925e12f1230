// The ringing simulation: random scripts (a table, a days-off file and what happens to the
// program: starts, ends, kills, stalls, clock steps, offset changes, sleeps, pauses, OK and
// snooze presses) run against the real monitor on the fake services. The runner records what a
// user would see: each alarm the alarm window brings up (its message, 本鈴 or not, snoozed or
// not) and each row the notice of missed bells adds, with the seconds they came. The checker
// (Checker.cpp) holds those observations to the promise (Promise.h), which is written from the
// documented rules and shares nothing with the program's code; the program's history file is
// only checked against what was seen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmEntry.h"
#include "model/OleDate.h"

namespace wb::sim {

enum class Act {
  Run,        // arg seconds of ticks
  Exit,       // 終了, then arg seconds until the next start
  Kill,       // the process ends without a word, then arg seconds until the next start
  Stall,      // arg seconds without a tick
  Step,       // the clock set by arg seconds (either way), with the system's notice
  Offset,     // the UTC offset changes by arg minutes; the local clock follows, UTC does not
  Sleep,      // suspended for arg seconds
  Pause,      // 一時停止 chosen
  Ok,         // OK pressed on the alarm window, if one is up
  Snooze,     // スヌーズ pressed, if the window is up, with the delay of row arg of its list
  LoseState,  // at the next start the state file is gone (arg 0) or damaged (arg 1)
  DayOff,     // the user adds today (arg 0) or tomorrow (arg 1) to the days-off file
};

struct Event {
  Act act = Act::Run;
  int64_t arg = 0;
};

struct Script {
  uint64_t seed = 0;
  OleDate start = 0;
  std::vector<AlarmEntry> entries;
  std::vector<int64_t> daysOff;  // day numbers the user's days-off file lists
  bool readOnlyFolder = false;
  std::vector<Event> events;
};

// A random script from a seed; the same seed gives the same script on every system.
Script MakeScript(uint64_t seed);

// The script as a few lines, to keep a failing one as a case.
std::string Describe(const Script& script);

// What the checker made of one run: the fault (empty when it held), how many bells the promise
// gave and how many of them fell under an allowance.
struct Verdict {
  std::string fault;
  int bells = 0;
  int allowed = 0;
};

// Runs the script against the real monitor and checks what was seen.
Verdict RunAndCheck(const Script& script);

// Building blocks of kept cases.
AlarmEntry SimEntry(int16_t kind, OleDate at, const std::string& message, BellMode mode = BellMode::MainOnly,
                    int lead = 0);

}  // namespace wb::sim
