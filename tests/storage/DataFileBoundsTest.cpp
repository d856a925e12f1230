// How much of a data file a read takes in: the header, then the records its count announces,
// never the rest of a file that may be anything of any size.
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "StorageFixture.h"
#include "storage/DataFile.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

using test::Bytes;

class DataFileBounds : public test::TempFolder {};

const std::string kTag(kCurrentDataTag);

AlarmEntry Entry(double time, const std::string& message) {
  AlarmEntry e;
  e.AlarmTime = time;
  e.RepeatKind = kRepeatDaily;
  e.Message = message;
  e.Look.FontName = "MS Pｺﾞｼｯｸ";
  return e;
}

// Caps this process's address space at what it uses now plus `slack` bytes.
void LimitAddressSpace(uint64_t slack) {
  uint64_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t limit = rlim_t(pages * uint64_t(sysconf(_SC_PAGESIZE)) + slack);
  const rlimit r{limit, limit};
  setrlimit(RLIMIT_AS, &r);
}

// A whole table followed by far more bytes than the process may hold: start-up, the editor's
// typed-path check, the tool and a save (which keeps the file as its backup) all work within a
// few MB. The test runs each in a child process whose address space is capped.
TEST_F(DataFileBounds, ReadsTheAnnouncedRecordsAndNeverTheRestOfTheFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's own reservations exceed any cap";
#endif
  const std::string path = PathOf("Wakebell.dat");
  AlarmTable table;
  table.Add(Entry(46000.25, "朝"));
  table.Add(Entry(46000.75, "夜"));
  ASSERT_TRUE(SaveAlarmTable(path, table));
  const uint64_t junk = uint64_t(128) << 20;
  std::filesystem::resize_file(path, std::filesystem::file_size(path) + junk);  // a hole: no disk used
  std::ofstream(path, std::ios::binary | std::ios::app) << "the end";
  const uint64_t size = std::filesystem::file_size(path);
  const uint64_t slack = uint64_t(24) << 20;

  struct Action {
    const char* what;
    std::function<bool()> run;
  };
  const Action actions[] = {
      {"the load of start-up and of the editor",
       [&] {
         AlarmTable t;
         return LoadAlarmTable(path, t, 0, 0) && t.Slots() == table.Slots();
       }},
      {"the tool's read",
       [&] {
         AlarmTable t;
         std::string tag;
         return ReadAlarmFile(path, t, 0, 0, &tag) && tag == kTag && t.EntryCount() == 2;
       }},
      {"the editor's typed-path check", [&] { return ProbeAlarmFile(path); }},
      {"a save that keeps the file as a backup first",  // last: it replaces the file
       [&] {
         AlarmTable t;
         return LoadAlarmTable(path, t, 0, 0) && SaveAlarmTable(path, t);
       }},
  };
  for (const Action& a : actions) {
    EXPECT_EXIT(
        {
          LimitAddressSpace(slack);
          _exit(a.run() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << a.what;
  }
  // The backup is the whole file, its last bytes too.
  ASSERT_EQ(std::filesystem::file_size(path + ".bak"), size);
  std::ifstream backup(path + ".bak", std::ios::binary);
  backup.seekg(std::streamoff(size - 7));
  std::string tail(7, '\0');
  backup.read(tail.data(), 7);
  EXPECT_EQ(tail, "the end");
  EXPECT_EQ(ReadBytes(path), SerializeAlarmTable(table, StorageCodec()));
}

// The typed-path check reads only the header, and says yes exactly where a load of a file
// with whole records succeeds.
TEST_F(DataFileBounds, TheHeaderAloneDecidesAsTheLoadDoes) {
  const std::string zeroRecord(78, '\0');
  auto records = [&](int n) {
    std::string s;
    s.reserve(size_t(n) * zeroRecord.size());
    for (int i = 0; i < n; ++i) s += zeroRecord;
    return s;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool loads;
    int entries;
  };
  const Case cases[] = {
      {"an empty file", "", true, 0},
      {"a negative count", Bytes().Header(-1, kTag).str(), true, 0},
      {"count 0", Bytes().Header(0, kTag).str() + records(1), true, 0},
      {"the largest count, 32767", Bytes().Header(32767, kTag).str() + records(32768), true, 32767},
      {"one more than the largest", Bytes().Header(32768, kTag).str() + records(32769), false, 0},
      {"too short for its count", Bytes().Header(3, kTag).str() + records(3), false, 0},
      {"header cut in its tag", Bytes().I32(0).I16(14).str() + "Wake", false, 0},
  };
  for (const Case& c : cases) {
    const std::string path = PathOf("probe.dat");
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ProbeAlarmFile(path), c.loads) << c.what;
    AlarmTable t;
    EXPECT_EQ(LoadAlarmTable(path, t, 0, 0), c.loads) << c.what;
    EXPECT_EQ(t.EntryCount(), c.entries) << c.what;
    if (c.loads && c.entries > 0) {
      ASSERT_TRUE(SaveAlarmTable(path, t)) << c.what;
      EXPECT_EQ(ReadBytes(path), c.bytes) << c.what;  // the full table comes back byte for byte
    }
  }
  EXPECT_FALSE(ProbeAlarmFile(PathOf("missing.dat")));
  EXPECT_FALSE(ProbeAlarmFile(Folder()));
}

// Records of every length, up to strings of 65535 bytes, read a piece at a time come back whole.
TEST_F(DataFileBounds, LongRecordsAcrossThePiecesComeBackWhole) {
  AlarmTable table;
  for (int i = 0; i < 24; ++i) {
    AlarmEntry e = Entry(46000 + i, std::string(size_t(i * 2731 + 1), char('a' + i)));
    e.Sound.File = std::string(size_t(65535 - i * 17), 'w');
    e.Look.FontName = std::string(size_t(i * 311), 'f');
    table.Add(e);
  }
  const std::string path = PathOf("long.dat");
  ASSERT_TRUE(SaveAlarmTable(path, table));
  AlarmTable back;
  ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
  EXPECT_EQ(back.Slots(), table.Slots());
}

}  // namespace
}  // namespace wb
