#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/Assert.h"
#include "model/Diag.h"

namespace wb {
namespace {

std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}
void Record(std::string_view line) { Lines().emplace_back(line); }

// Puts the recording sink in place for one test and the previous sink back afterwards.
class DiagLog : public ::testing::Test {
 protected:
  void SetUp() override {
    Lines().clear();
    previous_ = SetDiagSink(&Record);
  }
  void TearDown() override { SetDiagSink(previous_); }
  DiagSink previous_ = nullptr;
};

TEST_F(DiagLog, LinesGoToTheSinkTheProgramSet) {
  Diag("MCI \"play mymedia\" failed (263)");
  Diag("");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Wakebell: MCI \"play mymedia\" failed (263)", "Wakebell: "}));
}

TEST_F(DiagLog, NoSinkMeansStandardErrorAgain) {
  EXPECT_EQ(SetDiagSink(nullptr), &Record);
  testing::internal::CaptureStderr();
  Diag("a window could not be made");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Wakebell: a window could not be made\n");
  EXPECT_TRUE(Lines().empty());
}

// A windowed program has no standard error: the assertion must speak through the log.
TEST_F(DiagLog, ProgramErrorIsLoggedBeforeTheProgramStops) {
  EXPECT_DEATH(
      {
        SetDiagSink([](std::string_view line) {
          if (line.find("program error: 1 == 2 (") != std::string_view::npos) std::fputs("seen by the sink\n", stderr);
        });
        WB_ASSERT(1 == 2);
      },
      "seen by the sink");
}

}  // namespace
}  // namespace wb
