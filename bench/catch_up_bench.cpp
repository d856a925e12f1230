// Speed of the catch-up: seven days of a full table (the longest gap it looks at), with no state
// and with a record for every entry, taking the result, the state file of a full table, and the
// next bell of a full table (the wake timer's).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "model/CatchUp.h"
#include "model/NextBell.h"
#include "storage/StateFile.h"

namespace {

using namespace wb;

// A full table of every kind, bell mode and lead, set around `around`; no bell marked rung.
AlarmTable FullTable(OleDate around) {
  std::mt19937 rng(7);
  AlarmTable t;
  const int32_t base = DayOf(around);
  for (int i = 0; i < AlarmTable::kMaxEntries; ++i) {
    AlarmEntry e;
    e.RepeatKind = int16_t(1 + rng() % 11);
    e.AlarmTime = double(base - 60 + int(rng() % 67)) + double(rng() % 1440) / 1440.0;
    e.WeekdayMask = int16_t(rng() % 128);
    e.BellMode = BellMode(rng() % 3);
    e.PreBellMinutes = int16_t(rng() % 3 ? rng() % 120 : rng() % 5000);
    e.Message = "会議 " + std::to_string(i);
    t.Add(e);
  }
  return t;
}

OleDate Moment(const char* text) {
  OleDate d = 0;
  ParseMoment(text, d);
  return d;
}

constexpr int64_t kDay = 86400;

void BM_CatchUpSevenDaysFullTable(benchmark::State& state) {
  const OleDate date = Moment("2026/12/07 08:30:15");
  const AlarmTable table = FullTable(date);
  const wb::Moment now = MomentOfDate(date, 9 * 3600);
  CatchUpState s;
  s.watchedUntil = now.Local() - 30 * kDay;  // beyond the cap: seven days are looked at
  if (state.range(0)) {  // a record for every entry, as after a catch-up a day earlier
    for (int i = 0; i < table.EntryCount(); ++i) RecordHandled(s, table, i, now.Local() - kDay);
  }
  size_t rows = 0;
  for (auto _ : state) {
    const CatchUpResult r = FindMissedSinceWatched(table, s, now);
    rows = r.missed.size();
    benchmark::DoNotOptimize(r);
  }
  state.counters["rows"] = double(rows);
}
BENCHMARK(BM_CatchUpSevenDaysFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CatchUpApplyFullTable(benchmark::State& state) {
  const OleDate date = Moment("2026/12/07 08:30:15");
  const AlarmTable table = FullTable(date);
  const wb::Moment now = MomentOfDate(date, 9 * 3600);
  CatchUpState start;
  start.watchedUntil = now.Local() - 30 * kDay;
  const CatchUpResult r = FindMissedSinceWatched(table, start, now);
  for (auto _ : state) {
    state.PauseTiming();
    AlarmTable t = table;
    CatchUpState s = start;
    state.ResumeTiming();
    ApplyCatchUp(t, s, r, now);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_CatchUpApplyFullTable)->Unit(benchmark::kMillisecond);

// The wake timer's question after every tick that changed something: the next bell of a full
// table, walked by the due check's rule.
void BM_NextBellOfFullTable(benchmark::State& state) {
  const OleDate now = Moment("2026/12/07 08:30:15");
  const AlarmTable table = FullTable(now);
  for (auto _ : state) benchmark::DoNotOptimize(NextBellOfTable(table, SecondNumber(now)));
}
BENCHMARK(BM_NextBellOfFullTable)->Unit(benchmark::kMillisecond);

void BM_StateFileWriteAndReadFullTable(benchmark::State& state) {
  const OleDate now = Moment("2026/12/07 08:30:15");
  const AlarmTable table = FullTable(now);
  StateFile file;
  file.catchUp.watchedUntil = SecondNumber(now);
  for (int i = 0; i < table.EntryCount(); ++i) RecordHandled(file.catchUp, table, i, SecondNumber(now) - kDay);
  const std::string path = (std::filesystem::temp_directory_path() / "wb_bench_WakebellState.ini").string();
  for (auto _ : state) {
    if (!WriteStateFile(path, file)) state.SkipWithError("cannot write");
    benchmark::DoNotOptimize(ReadStateFile(path));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_StateFileWriteAndReadFullTable)->Unit(benchmark::kMillisecond);

}  // namespace
