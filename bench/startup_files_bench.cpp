// The files start-up reads besides the table, grown far past anything the program writes: a
// ring history of 100 MB (copied from another PC, or grown before the trim) and a days-off
// file of 202 MB (something else saved under its name). The program is not ready until both are
// read, so each must cost about what an ordinary one does. Run each benchmark in a process of
// its own (--benchmark_filter) to read its peak resident size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "storage/DaysOffFile.h"
#include "storage/History.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("wb_startup_files_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

struct RemoveFolder {
  ~RemoveFolder() { std::filesystem::remove_all(Folder()); }
} removeFolder;

double PeakRssMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

wb::OleDate At(const char* moment) {
  wb::OleDate d = 0;
  wb::ParseMoment(moment, d);
  return d;
}

// 100 MB of recent events, written a line at a time (the benchmark's own memory stays small).
void WriteLongHistory(const std::string& path) {
  wb::HistoryRecord r;
  r.at = r.due = At("2026/12/07 07:00:00");
  r.utcOffsetMinutes = 540;
  r.event = wb::HistoryEvent::Rang;
  r.message = "起床";
  const std::string line = wb::FormatHistoryLine(r);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (uint64_t written = 0; written < (uint64_t(100) << 20); written += line.size()) out << line;
}

void BM_StartUpTrimOf100MBHistory(benchmark::State& state) {
  const std::string path = wb::HistoryPathIn(Folder().string() + "/");
  for (auto _ : state) {
    state.PauseTiming();
    WriteLongHistory(path);
    state.ResumeTiming();
    if (!wb::TrimHistory(path, At("2026/12/07 08:00:00"))) state.SkipWithError("trim failed");
  }
  state.counters["peak_rss_MB"] = PeakRssMB();
  state.counters["kept_lines"] = double(wb::ReadHistory(path).size());
}
BENCHMARK(BM_StartUpTrimOf100MBHistory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadDaysOffFileOf202MB(benchmark::State& state) {
  const std::string path = (Folder() / wb::kDaysOffFileName).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "2027/08/13 夏季休暇\n";
  std::filesystem::resize_file(path, uintmax_t(202) << 20);  // a hole: no disk used
  for (auto _ : state) {
    const wb::DaysOffFile file = wb::ReadDaysOffFile(path);
    if (!file.tooLarge) state.SkipWithError("read as a list of days");
    benchmark::DoNotOptimize(file);
  }
  state.counters["peak_rss_MB"] = PeakRssMB();
}
BENCHMARK(BM_ReadDaysOffFileOf202MB)->Unit(benchmark::kMillisecond);

}  // namespace
