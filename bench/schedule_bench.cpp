// Speed of the schedule core: one due-check tick over a full table, the editor's sort and list
// lines for a full table, and `wakebell-tool schedule` over a month, and over a year of a full
// table (which ticks only the minutes in which a bell can fall due); the tick and the year again
// with every other entry resting on days off, to show what the day-off test costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>

#include "app/tool/Commands.h"
#include "model/DueCheck.h"
#include "model/Holidays.h"
#include "model/ListLine.h"
#include "model/SortKeys.h"
#include "storage/DataFile.h"

namespace {

using namespace wb;

// A full table of every kind, bell mode and lead, with fired-at members here and there.
AlarmTable MixedTable(int count, OleDate around, unsigned seed) {
  std::mt19937 rng(seed);
  AlarmTable t;
  const int32_t base = DayOf(around);
  for (int i = 0; i < count; ++i) {
    AlarmEntry e;
    e.RepeatKind = int16_t(rng() % 12);
    e.AlarmTime = double(base - 60 + int(rng() % 90)) + double(rng() % 1440) / 1440.0;
    e.WeekdayMask = int16_t(rng() % 128);
    e.BellMode = BellMode(rng() % 3);
    e.PreBellMinutes = int16_t(rng() % 3 ? rng() % 120 : rng() % 5000);
    if (rng() % 2) e.MainBellFiredAt = double(base - int(rng() % 10)) + 0.5;
    if (rng() % 3 == 0) e.PreBellFiredAt = double(base - int(rng() % 10)) + 0.25;
    e.Message = "会議";
    t.Add(e);
  }
  return t;
}

// The same table with every entry that would ring at `now` moved to another minute.
AlarmTable QuietTable(int count, OleDate now) {
  AlarmTable t = MixedTable(count, now, 1);
  for (;;) {
    AlarmTable probe = t;
    const DueResult r = RunDueCheck(probe, SecondNumber(now));
    if (r.slot < 0) return t;
    t[r.slot].AlarmTime += 7.0 / 1440.0;
  }
}

// Every other repeating entry rests on days off.
void RestEveryOther(AlarmTable& t) {
  for (int i = 0; i < t.EntryCount(); i += 2) t[i].WeekdayMask = int16_t(t[i].WeekdayMask | kMaskRestsOnDaysOff);
}

void BM_DueCheckTickFullTableNothingDue(benchmark::State& state) {
  OleDate now = 0;
  ParseMoment("2026/12/07 08:30:15", now);
  AlarmTable t = QuietTable(AlarmTable::kMaxEntries, now);
  const LocalSecond tick = SecondNumber(now);
  for (auto _ : state) {
    const DueResult r = RunDueCheck(t, tick);
    benchmark::DoNotOptimize(r);
    if (r.slot >= 0) state.SkipWithError("an entry fell due");
  }
  state.counters["entries"] = t.EntryCount();
}
BENCHMARK(BM_DueCheckTickFullTableNothingDue)->Unit(benchmark::kMicrosecond);

// The same tick on a holiday (2026/11/23), half the entries resting and the calendar given.
void BM_DueCheckTickFullTableNothingDueWithDaysOff(benchmark::State& state) {
  OleDate now = 0;
  ParseMoment("2026/11/23 08:30:15", now);
  AlarmTable t = QuietTable(AlarmTable::kMaxEntries, now);
  RestEveryOther(t);
  const DaysOff daysOff({{DayNumber(2026, 11, 24), "代休"}});
  const LocalSecond tick = SecondNumber(now);
  for (auto _ : state) {
    const DueResult r = RunDueCheck(t, tick, &daysOff);
    benchmark::DoNotOptimize(r);
    if (r.slot >= 0) state.SkipWithError("an entry fell due");
  }
  state.counters["entries"] = t.EntryCount();
}
BENCHMARK(BM_DueCheckTickFullTableNothingDueWithDaysOff)->Unit(benchmark::kMicrosecond);

void BM_SortKeysAndAllListLines(benchmark::State& state) {
  OleDate now = 0;
  ParseMoment("2026/12/07 08:30:15", now);
  const AlarmTable t = MixedTable(AlarmTable::kMaxEntries, now, 2);
  const bool daily = state.range(0) != 0;
  size_t rows = 0;
  for (auto _ : state) {
    const std::vector<SortKey> keys = BuildSortKeys(t);
    const std::vector<ListRow> list = BuildAlarmList(t, keys, OleDate(DayOf(now)), now, daily, false);
    rows = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["rows"] = double(rows);
}
BENCHMARK(BM_SortKeysAndAllListLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole table at one minute: every key equal, so the tie pass sorts it all by full date.
void BM_SortKeysAllAtOneMinute(benchmark::State& state) {
  AlarmTable t;
  std::mt19937 rng(3);
  for (int i = 0; i < AlarmTable::kMaxEntries; ++i) {
    AlarmEntry e;
    e.AlarmTime = double(40000 + int(rng() % 3000)) + 0.3125;
    t.Add(e);
  }
  for (auto _ : state) benchmark::DoNotOptimize(BuildSortKeys(t).data());
}
BENCHMARK(BM_SortKeysAllAtOneMinute)->Unit(benchmark::kMillisecond);

void BM_ToolSchedule31Days30Entries(benchmark::State& state) {
  OleDate from = 0;
  ParseMoment("2026/12/01 00:00:00", from);
  const std::string path = (std::filesystem::temp_directory_path() / "wb_schedule_bench.dat").string();
  if (!SaveAlarmTable(path, MixedTable(30, from, 4))) {
    state.SkipWithError("cannot write the data file");
    return;
  }
  size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    const int rc = tool::Schedule({path, "--from", "2026/12/01 00:00:00", "--to", "2026/12/31 23:59:59"}, out, err);
    if (rc != 0) state.SkipWithError("schedule failed");
    bytes = out.str().size();
  }
  state.counters["output_bytes"] = double(bytes);
  std::filesystem::remove(path);
}
BENCHMARK(BM_ToolSchedule31Days30Entries)->Unit(benchmark::kMillisecond)->Iterations(3);

// Counts what is written instead of keeping it: a year of a full table prints hundreds of MB.
class CountingBuffer : public std::streambuf {
 public:
  size_t bytes = 0;

 protected:
  int overflow(int c) override {
    if (c != traits_type::eof()) ++bytes;
    return c == traits_type::eof() ? 0 : c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += size_t(n);
    return n;
  }
};

// A year of a full table; with `resting`, every other entry rests on days off and a days-off
// file of the user's lies beside the data file.
void ScheduleOneYearFullTable(benchmark::State& state, bool resting) {
  OleDate from = 0;
  ParseMoment("2026/01/01 00:00:00", from);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / (resting ? "wb_schedule_year_bench_rest" : "wb_schedule_year_bench");
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Wakebell.dat").string();
  AlarmTable table = MixedTable(AlarmTable::kMaxEntries, from, 5);
  if (resting) {
    RestEveryOther(table);
    std::ofstream(folder / "WakebellDaysOff.txt") << "2026/08/13\n2026/08/14\n2026/12/29\n2026/12/30\n";
  }
  if (!SaveAlarmTable(path, table)) {
    state.SkipWithError("cannot write the data file");
    return;
  }
  size_t bytes = 0;
  for (auto _ : state) {
    CountingBuffer counted;
    std::ostream out(&counted);
    std::ostringstream err;
    const int rc = tool::Schedule({path, "--from", "2026/01/01 00:00:00", "--to", "2026/12/31 23:59:59"}, out, err);
    if (rc != 0) state.SkipWithError("schedule failed");
    bytes = counted.bytes;
  }
  state.counters["output_bytes"] = double(bytes);
  std::filesystem::remove_all(folder);
}

void BM_ToolScheduleOneYearFullTable(benchmark::State& state) { ScheduleOneYearFullTable(state, false); }
BENCHMARK(BM_ToolScheduleOneYearFullTable)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ToolScheduleOneYearFullTableWithDaysOff(benchmark::State& state) { ScheduleOneYearFullTable(state, true); }
BENCHMARK(BM_ToolScheduleOneYearFullTableWithDaysOff)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
