// What a user of the simulated program saw and did, as the runner recorded it, and the checker
// that holds it to the promise. Plain values only: the checker sees none of the program's types
// or functions. Moments are local wall-clock seconds from 1970 (Promise.h), UTC seconds on the
// same scale.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/Promise.h"

namespace wb::sim {

// The ticks of the program's one-second timer at every second of [from, to] (local).
struct TickSpan {
  int64_t from = 0, to = 0;
  bool paused = false;  // 一時停止 was on
  int64_t fromUtc = 0;  // the UTC second of `from` (no clock moves within a span)
};

// Seconds of (from, to) in which no tick came.
enum class GapKind {
  Stalled,     // the program ran but its ticks did not come: a stall, a sleep, the clock set forward
  Down,        // the program was not running
  DownUnknown, // not running, and the next start found no state file (or a damaged one)
  DownReadOnly // not running, with a program folder it cannot write
};
struct Gap {
  int64_t from = 0, to = 0;
  GapKind kind = GapKind::Down;
  bool paused = false;  // a stall or a move of the clock while 一時停止 was on
  bool endedPaused = false;  // the program ended (Down*) while 一時停止 was on
  int64_t lastTick = 0;      // (Down*) the local second of the last tick before it ended
};

// The alarm window came up, or its content changed while up.
struct Shown {
  int64_t local = 0, utc = 0;
  std::string message;
  bool mainBanner = false;   // "本鈴" shown above the message
  bool snoozeCaption = false;  // the caption says it was put off
};

// The notice of missed bells as it stood after it changed (its rows top to bottom); `fresh`
// when the window was made anew (the previous one was closed or the program restarted).
struct NoticeChange {
  int64_t local = 0, utc = 0;
  std::vector<std::string> rows;
  bool fresh = false;
};

// OK or スヌーズ pressed on the alarm window showing `message`.
struct Answer {
  int64_t local = 0, utc = 0;
  std::string message;
  int snoozeMinutes = 0;  // 0 for OK; else the delay the list showed
};

// The local clock jumped by `by` seconds at `local` (a step, or a change of the UTC offset).
struct ClockMove {
  int64_t local = 0, utc = 0, by = 0;  // the moment before the move
  bool offset = false;
};

// One record in the order the things happened; `index` into the list of its kind.
enum class What { Shown, Notice, Answer, Move, Start, Ticks, DayOff };
struct Happening {
  What what;
  size_t index;
};

struct Observations {
  std::vector<promise::PromisedEntry> entries;
  std::vector<std::string> messages;  // each entry's message, unique in a script
  promise::DaysOffSet daysOff;
  int64_t first = 0, last = 0;  // the first start and the end of the script, local
  bool readOnlyFolder = false;
  std::vector<TickSpan> ticks;
  std::vector<Gap> gaps;
  std::vector<Shown> shown;
  std::vector<NoticeChange> notices;
  std::vector<Answer> answers;
  std::vector<ClockMove> moves;
  std::vector<int64_t> starts;  // local seconds of each start (the first included)
  struct DayOffAdded {
    int64_t local = 0, day = 0;  // when, and the day number (Promise.h) listed
  };
  std::vector<DayOffAdded> daysOffAdded;  // while the program ran
  std::vector<Happening> order;
  // The program's history file as it was at the end, line by line (empty when it could not be
  // written): checked against what was seen, never used as what was seen.
  std::vector<std::string> historyLines;
  // Alarms that waited behind an answered one and never came back to be answered.
  int waitingLost = 0;
  // What the alarm window showed, second by second as spans: a bell falling due while the window
  // already shows exactly what its ring would show is on the screen.
  struct UpSpan {
    int64_t from = 0, to = 0;  // local
    std::string message, time;
    bool main = false;
  };
  std::vector<UpSpan> upSpans;
};

struct CheckResult {
  std::string fault;  // empty when everything held
  int bells = 0;      // bells the promise gave for the run
  int allowed = 0;    // of them, those an allowance excused from the strict rules
};

CheckResult CheckObservations(const Observations& seen);

}  // namespace wb::sim
