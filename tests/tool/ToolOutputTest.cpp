// A command whose output could not be written has failed: a cut JSON file or a cut schedule
// must never look complete to the script that reads it.
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <streambuf>

#include "app/tool/Commands.h"
#include "storage/DataFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

// Takes `room` bytes, then refuses everything, as a full disk does.
class FullBuffer : public std::streambuf {
 public:
  explicit FullBuffer(size_t room) : room_(room) {}

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    if (room_ == 0) return traits_type::eof();
    --room_;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    const std::streamsize taken = std::min<std::streamsize>(n, std::streamsize(room_));
    room_ -= size_t(taken);
    return taken;
  }

 private:
  size_t room_;
};

class ToolOutput : public test::TempFolder {
 protected:
  std::string Save() {
    AlarmTable t;
    for (int i = 0; i < 3; ++i) {
      AlarmEntry e;
      e.AlarmTime = MakeDate(2026, 12, 1, 7, i);
      e.RepeatKind = kRepeatDaily;
      e.BellMode = BellMode::MainOnly;
      t.Add(e);
    }
    const std::string path = PathOf("Wakebell.dat");
    EXPECT_TRUE(SaveAlarmTable(path, t));
    return path;
  }
  std::vector<std::vector<std::string>> Commands(const std::string& path) const {
    return {
        {"dump", path},
        {"schedule", path, "--from", "2026/12/07 06:00:00", "--to", "2026/12/08 08:00:00"},
        {"list", path, "--now", "2026/12/07 06:00:00"},
        {"tip", path, "--now", "2026/12/07 06:00:00"},
    };
  }
};

TEST_F(ToolOutput, AnOutputThatCannotBeWrittenExitsOne) {
  const std::string path = Save();
  for (const auto& args : Commands(path)) {
    for (size_t room : {size_t(0), size_t(10)}) {
      FullBuffer full(room);
      std::ostream out(&full);
      std::ostringstream err;
      EXPECT_EQ(tool::Run(args, out, err), 1) << args[0] << " with room for " << room;
      EXPECT_NE(err.str().find("cannot write"), std::string::npos) << args[0] << ": " << err.str();
    }
    std::ostringstream out, err;
    EXPECT_EQ(tool::Run(args, out, err), 0) << args[0];  // with room for it all, as before
    EXPECT_NE(out.str(), "") << args[0];
  }
}

#ifdef WB_TOOL_PATH
// The program itself: standard output on a full device, or closed.
TEST_F(ToolOutput, TheProgramExitsOneWhenStandardOutputFails) {
  const std::string path = Save();
  for (const char* redirect : {">/dev/full", ">&-"}) {
    for (const auto& args : Commands(path)) {
      std::string command = std::string("'") + WB_TOOL_PATH + "'";
      for (const std::string& a : args) command += " '" + a + "'";
      command += std::string(" ") + redirect + " 2>" + PathOf("err.txt");
      const int status = std::system(command.c_str());
      ASSERT_TRUE(WIFEXITED(status)) << command;
      EXPECT_EQ(WEXITSTATUS(status), 1) << command;
      EXPECT_NE(ReadBytes(PathOf("err.txt")).find("cannot write"), std::string::npos) << command;
    }
  }
}
#endif

}  // namespace
}  // namespace wb
