// Load and save of a full data file: 32767 entries with 200-byte messages. Both happen while
// the user waits (start-up, the editor's OK), so each must stay well under a tenth of a second.
// And the memory a load takes when the file goes on for 400 MB after its table.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "storage/DataFile.h"

namespace {

struct FullTable {
  FullTable() {
    std::string message;
    for (int i = 0; i < 100; ++i) message += "鐘";  // 200 bytes in the file
    wb::AlarmEntry e;
    e.AlarmTime = 45000.5;
    e.RepeatKind = wb::kRepeatWeekly;
    e.Message = message;
    e.Sound.File = "C:\\Windows\\Media\\アラーム.wav";
    e.Look.FontName = "MS Pｺﾞｼｯｸ";
    e.Look.BackColor = wb::kButtonFaceColor;
    while (table.Add(e) >= 0) {
    }
    dir = std::filesystem::temp_directory_path() / ("wb_storage_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "Wakebell.dat").string();
    wb::SaveAlarmTable(path, table);
  }
  ~FullTable() { std::filesystem::remove_all(dir); }

  wb::AlarmTable table;
  std::filesystem::path dir;
  std::string path;
};

FullTable& Full() {
  static FullTable full;
  return full;
}

// Runs first, so that the process's peak resident size is this load's own (the full table held
// twice at most: the table read and the one it replaces) and not that of an earlier benchmark.
void BM_LoadFullTableBefore400MBMore(benchmark::State& state) {
  FullTable& full = Full();
  const std::string path = (full.dir / "Long.dat").string();
  std::filesystem::copy_file(full.path, path, std::filesystem::copy_options::overwrite_existing);
  const auto tableBytes = std::filesystem::file_size(path);
  std::filesystem::resize_file(path, tableBytes + (uintmax_t(400) << 20));  // a hole: no disk used
  for (auto _ : state) {
    wb::AlarmTable t;
    if (!wb::LoadAlarmTable(path, t, 0, 0) || t.EntryCount() != 32767) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(t);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
  state.counters["table_file_MB"] = double(tableBytes) / (1 << 20);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFullTableBefore400MBMore)->Unit(benchmark::kMillisecond);

void BM_LoadFullTable(benchmark::State& state) {
  FullTable& full = Full();
  for (auto _ : state) {
    wb::AlarmTable t;
    if (!wb::LoadAlarmTable(full.path, t, 0, 0) || t.EntryCount() != 32767) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(t);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(full.path)));
}
BENCHMARK(BM_LoadFullTable)->Unit(benchmark::kMillisecond);

void BM_SaveFullTable(benchmark::State& state) {
  FullTable& full = Full();
  for (auto _ : state) {
    if (!wb::SaveAlarmTable(full.path, full.table)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(full.path)));
}
BENCHMARK(BM_SaveFullTable)->Unit(benchmark::kMillisecond);

}  // namespace
