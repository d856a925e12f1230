#include "model/Diag.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace wb {
namespace {

void StandardErrorSink(std::string_view line) {
  std::fprintf(stderr, "%.*s\n", int(line.size()), line.data());
  std::fflush(stderr);
}

// An assertion may fire on any thread while the sink is set.
std::atomic<DiagSink> g_sink{&StandardErrorSink};

}  // namespace

DiagSink SetDiagSink(DiagSink sink) { return g_sink.exchange(sink ? sink : &StandardErrorSink); }

void Diag(std::string_view line) {
  std::string text = "Wakebell: ";
  text += line;
  g_sink.load()(text);
}

}  // namespace wb
