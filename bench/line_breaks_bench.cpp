// Ending the lines of the longest message the alarm window shows (32767 characters), with
// widths as a proportional Japanese font gives them: what the alarm window does before it
// shows a message, for text of several kinds.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/LineBreaks.h"

namespace {

constexpr size_t kLongestMessage = 32767;

// A full-width character 16 wide, a half-width one 8: as GetTextExtentExPoint reports them.
std::vector<int> Extents(std::wstring_view run) {
  std::vector<int> widths;
  widths.reserve(run.size());
  int x = 0;
  for (wchar_t ch : run) widths.push_back(x += ch >= 0x1100 && !(ch >= 0xFF61 && ch <= 0xFF9F) ? 16 : 8);
  return widths;
}

std::wstring Repeated(std::wstring_view piece) {
  std::wstring s;
  while (s.size() < kLongestMessage) s += piece;
  s.resize(kLongestMessage);
  return s;
}

void Wrap(benchmark::State& state, const std::wstring& text) {
  for (auto _ : state) benchmark::DoNotOptimize(wb::ui::BreakLines(text, 400, Extents));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// The longest messages of the alarm window's own benchmark (tests/wine/alarm_bench.cpp), and
// one of mixed Japanese: dates, times, money, half-width kana and a URL.
void BM_WrapOneParagraph(benchmark::State& state) {
  static const std::wstring text = Repeated(L"会議の時間です。資料を持って行く。");
  Wrap(state, text);
}
BENCHMARK(BM_WrapOneParagraph);

void BM_WrapShortLines(benchmark::State& state) {
  static const std::wstring text = Repeated(L"会議の時間です。資料を持って行く\r\n");
  Wrap(state, text);
}
BENCHMARK(BM_WrapShortLines);

void BM_WrapEnglish(benchmark::State& state) {
  static const std::wstring text = Repeated(L"Meeting at ten. Bring the papers. ");
  Wrap(state, text);
}
BENCHMARK(BM_WrapEnglish);

void BM_WrapOneWord(benchmark::State& state) {
  static const std::wstring text = Repeated(L"a");
  Wrap(state, text);
}
BENCHMARK(BM_WrapOneWord);

void BM_WrapKanaOnly(benchmark::State& state) {
  static const std::wstring text = Repeated(L"あ");
  Wrap(state, text);
}
BENCHMARK(BM_WrapKanaOnly);

void BM_WrapWideWords(benchmark::State& state) {
  static const std::wstring text = Repeated(std::wstring(63, L'a') + L" ");
  Wrap(state, text);
}
BENCHMARK(BM_WrapWideWords);

void BM_WrapMixedJapanese(benchmark::State& state) {
  static const std::wstring text = Repeated(
      L"会議は12:30〜13:00です。資料（第３版）を「共有フォルダ」に置きました、ご確認ください！"
      L"費用は1,000円～2,000円、気温は28°Cの予報。ｺｰﾋｰを飲んでから https://example.jp/a?b=1 を開く。");
  Wrap(state, text);
}
BENCHMARK(BM_WrapMixedJapanese);

}  // namespace
