// Small builders shared by the schedule tests: entries, tables, and a program run that ticks
// the due check once a second and records what each presenting tick showed.
#pragma once
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/DueCheck.h"
#include "model/Moment.h"
#include "model/OleDate.h"

namespace wb::test {

inline AlarmEntry Entry(int kind, OleDate at, int mask = 0, BellMode bellMode = BellMode::MainOnly, int lead = 0) {
  AlarmEntry e;
  e.RepeatKind = int16_t(kind);
  e.AlarmTime = at;
  e.WeekdayMask = int16_t(mask);
  e.BellMode = bellMode;
  e.PreBellMinutes = int16_t(lead);
  return e;
}

inline AlarmTable Table(const std::vector<AlarmEntry>& entries) {
  AlarmTable t;
  for (const AlarmEntry& e : entries) t.Add(e);
  return t;
}

struct Bell {
  std::string at;  // "yyyy/mm/dd hh:nn:ss"
  int slot;
  bool main, pre;
  bool operator==(const Bell&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Bell& b) {
  return os << b.at << " slot " << b.slot << (b.main ? " main" : "") << (b.pre ? " pre" : "");
}

// Ticks every second from `from` to `to` inclusive, as a running program would.
inline void RunTicks(AlarmTable& table, OleDate from, OleDate to, std::vector<Bell>& bells) {
  for (int64_t s = SecondNumber(from); s <= SecondNumber(to); ++s) {
    const OleDate now = FromSecondNumber(s);
    const DueResult r = RunDueCheck(table, s);
    if (r.slot >= 0) bells.push_back({FormatMoment(now), r.slot, r.main, r.pre});
  }
}

// Ticks through the same minutes [fromMinute, toMinute] of every day from `firstDay` to `lastDay`.
inline std::vector<Bell> RunDaily(AlarmTable& table, OleDate firstDay, OleDate lastDay, int fromMinute,
                                  int toMinute) {
  std::vector<Bell> bells;
  for (int32_t d = DayOf(firstDay); d <= DayOf(lastDay); ++d) {
    RunTicks(table, FromSecondNumber(int64_t(d) * 86400 + fromMinute * 60),
        FromSecondNumber(int64_t(d) * 86400 + toMinute * 60 + 59), bells);
  }
  return bells;
}

inline OleDate At(const char* moment) {
  OleDate d = 0;
  if (!ParseMoment(moment, d)) ADD_FAILURE() << "bad moment " << moment;
  return d;
}

// The same moment as a local second, and as a reading of the clock in Japan.
inline LocalSecond Sec(const char* moment) { return SecondNumber(At(moment)); }
inline Moment Reading(const char* moment, int offsetMinutes = 540) { return MomentOfDate(At(moment), offsetMinutes * 60); }

}  // namespace wb::test
