// `wakebell-tool --version` names the version the project states (the one the About box, the
// version resource and the release zip carry), and takes no further arguments.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "app/tool/Commands.h"

namespace wb {
namespace {

TEST(ToolVersion, PrintsTheProjectVersionAndRefusesExtraArguments) {
  struct Case {
    std::vector<std::string> args;
    int rc;
    std::string out;
  };
  const Case cases[] = {
      {{"--version"}, 0, std::string("wakebell-tool ") + WB_PROJECT_VERSION + "\n"},
      {{"--version", "Wakebell.dat"}, 2, ""},
      {{"version"}, 2, ""},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(tool::Run(c.args, out, err), c.rc) << c.args.size();
    EXPECT_EQ(out.str(), c.out) << c.args.size();
  }
}

#ifdef WB_TOOL_PATH
// The program as a script runs it: the same line on standard output, exit 0.
TEST(ToolVersion, TheProgramPrintsIt) {
  FILE* pipe = ::popen((std::string("'") + WB_TOOL_PATH + "' --version").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(text, std::string("wakebell-tool ") + WB_PROJECT_VERSION + "\n");
}
#endif

}  // namespace
}  // namespace wb
