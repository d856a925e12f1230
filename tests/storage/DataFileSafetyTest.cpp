// What a save must never do to the file it replaces: report success when the data or the
// folder did not reach the disk, drop records it did not take in without a backup, turn a
// link into a plain file, or open up a file's permissions.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "StorageFixture.h"
#include "platform/posix/PosixFiles.h"
#include "storage/DataFile.h"
#include "storage/Settings.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

using test::Bytes;

AlarmEntry Entry(double at, const char* message) {
  AlarmEntry e;
  e.AlarmTime = at;
  e.RepeatKind = kRepeatDaily;
  e.BellMode = BellMode::MainOnly;
  e.Message = message;
  return e;
}

AlarmTable TableOf(int entries) {
  AlarmTable t;
  for (int i = 0; i < entries; ++i) t.Add(Entry(46000.25 + i, "会議"));
  return t;
}

// Which syncs fail, and how, while a SyncFault is alive.
struct SyncFaultPlan {
  bool files = false;         // a file's data
  bool folders = false;       // a folder's entries
  int foldersToPass = 0;      // folder syncs that still succeed before the failing ones
  const char* pathEnd = "";   // only files whose path ends so
  int error = EIO;
};

class SyncFault {
 public:
  explicit SyncFault(const SyncFaultPlan& plan) {
    plan_ = plan;
    previous_ = posix::ReplaceSyncCall(&Sync);
  }
  ~SyncFault() { posix::ReplaceSyncCall(previous_); }

 private:
  static int Sync(int fd) {
    struct stat st {};
    fstat(fd, &st);
    const bool folder = S_ISDIR(st.st_mode);
    char link[64], target[4096] = {};
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    const std::string path(target, n > 0 ? size_t(n) : 0);
    const std::string end = plan_.pathEnd;
    bool fail = folder ? plan_.folders : plan_.files;
    if (fail && folder && plan_.foldersToPass > 0) {
      --plan_.foldersToPass;
      fail = false;
    }
    if (fail && path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0) {
      errno = plan_.error;
      return -1;
    }
    return fsync(fd);
  }
  static inline SyncFaultPlan plan_;
  posix::SyncCall previous_;
};

class DataFileSafety : public test::TempFolder {
 protected:
  static mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
  }
  bool NoTempFilesLeft() const {
    for (const auto& f : std::filesystem::recursive_directory_iterator(dir_))
      if (f.path().extension() == ".tmp") return false;
    return true;
  }
};

TEST_F(DataFileSafety, AFailedSyncIsAFailedSaveAndReplacesNothing) {
  struct Case {
    const char* what;
    SyncFaultPlan plan;
    bool saved;     // what the save reports
    bool replaced;  // whether the new table is in place afterwards
  };
  const Case cases[] = {
      {"the data does not reach the disk", {.files = true}, false, false},
      {"the folder cannot be synced", {.folders = true}, false, false},
      {"the folder sync after the rename fails", {.folders = true, .foldersToPass = 1}, false, true},
      {"a file system that cannot sync folders", {.folders = true, .error = EINVAL}, true, true},
  };
  for (const Case& c : cases) {
    const std::string path = PathOf("Wakebell.dat");
    ASSERT_TRUE(SaveAlarmTable(path, TableOf(1)));
    const std::string before = ReadBytes(path);
    bool saved;
    {
      SyncFault fault(c.plan);
      saved = SaveAlarmTable(path, TableOf(2));
    }
    EXPECT_EQ(saved, c.saved) << c.what;
    EXPECT_EQ(ReadBytes(path) != before, c.replaced) << c.what;
    EXPECT_TRUE(NoTempFilesLeft()) << c.what;
  }
}

TEST_F(DataFileSafety, ASettingsWriteWhoseSyncFailsFails) {
  const std::string ini = PathOf("Wakebell.ini");
  ASSERT_TRUE(WriteSetting(ini, "DATAPATH", "D:\\alarms.dat"));
  const std::string before = ReadBytes(ini);
  SyncFault fault({.files = true});
  EXPECT_FALSE(WriteSetting(ini, "STARTFLG", "0"));
  EXPECT_EQ(ReadBytes(ini), before);
}

TEST_F(DataFileSafety, NoConversionWithoutABackupThatReachedTheDisk) {
  const std::string path = PathOf("old.dat");
  const std::string old = Bytes().Header(0, "Wakebell 0.9.5").F64(1).I16(0).I16(0).F64(0).F64(0).I16(0).I16(0)
                              .I16(0).Str("").I16(0).Str("").I16(0).I32(0).I32(0).I16(0).I16(0).str();
  WriteBytes(path, old);
  AlarmTable t;
  {
    SyncFault fault({.files = true, .pathEnd = ".bak.tmp"});
    EXPECT_TRUE(LoadAlarmTable(path, t, 0, 0));  // the table is read all the same
  }
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_FALSE(Exists(path + ".bak"));
  EXPECT_TRUE(NoTempFilesLeft());
}

// Records past the header's count, or bytes after the last record, are more than the table
// took in: the file is kept as a backup before the first save replaces it.
TEST_F(DataFileSafety, RecordsOrBytesBeyondTheTableAreKeptAsABackup) {
  const std::string cur = std::string(kCurrentDataTag);
  const std::string record = SerializeAlarmTable(TableOf(0), StorageCodec()).substr(20);  // one whole record
  auto records = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += record;
    return s;
  };
  struct Case {
    const char* what;
    std::string bytes;
    int entries;  // what the load takes in
  };
  const Case cases[] = {
      {"count 0, three more records", Bytes().Header(0, cur).str() + records(4), 0},
      {"count 3, six records more", Bytes().Header(3, cur).str() + records(10), 3},
      {"junk after the last record", Bytes().Header(1, cur).str() + records(2) + "junk", 1},
      {"an older layout with junk", Bytes().Header(0, "Wakebell 0.9.3").F64(1).I16(0).I16(0).F64(0).F64(0)
                                         .I16(0).I16(0).I16(0).Str("").I16(0).Str("").I16(0).str() + "xy", 0},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    const std::string path = PathOf("Wakebell.dat");
    WriteBytes(path, c.bytes);
    AlarmTable t;
    ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0)) << c.what;
    EXPECT_EQ(t.EntryCount(), c.entries) << c.what;
    t.Add(Entry(46100.5, "追加"));
    ASSERT_TRUE(SaveAlarmTable(path, t)) << c.what;
    EXPECT_EQ(ReadBytes(path + ".bak"), c.bytes) << c.what;
    AlarmTable back;
    ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0)) << c.what;
    EXPECT_EQ(back.Slots(), t.Slots()) << c.what;
    // Once replaced by a whole file, saving is ordinary again.
    ASSERT_TRUE(SaveAlarmTable(path, t)) << c.what;
    EXPECT_FALSE(Exists(path + ".bak2")) << c.what;
  }
}

TEST_F(DataFileSafety, SavingThroughALinkReplacesItsTarget) {
  std::filesystem::create_directory(dir_ / "real");
  struct Case {
    const char* what;
    std::string linkTarget;  // as the link holds it
    bool targetExists;
  };
  const Case cases[] = {
      {"an absolute link", PathOf("real/alarms.dat"), true},
      {"a relative link", "real/alarms.dat", true},
      {"a link to a file not made yet", "real/new.dat", false},
  };
  for (const Case& c : cases) {
    const std::string link = PathOf("Wakebell.dat");
    const std::string target = c.linkTarget.front() == '/' ? c.linkTarget : PathOf(c.linkTarget);
    std::filesystem::remove(link);
    std::filesystem::remove(target);
    if (c.targetExists) {
      ASSERT_TRUE(SaveAlarmTable(target, TableOf(1)));
    }
    std::filesystem::create_symlink(c.linkTarget, link);
    ASSERT_TRUE(SaveAlarmTable(link, TableOf(3))) << c.what;
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << c.what;
    EXPECT_EQ(ReadBytes(target), SerializeAlarmTable(TableOf(3), StorageCodec())) << c.what;
    EXPECT_TRUE(NoTempFilesLeft()) << c.what;
  }
  // A settings file reached through a link as well.
  const std::string ini = PathOf("real/Wakebell.ini");
  WriteBytes(ini, "[Wakebell]\r\nDATAPATH=x\r\n");
  std::filesystem::create_symlink(ini, PathOf("Wakebell.ini"));
  ASSERT_TRUE(WriteSetting(PathOf("Wakebell.ini"), "STARTFLG", "0"));
  EXPECT_TRUE(std::filesystem::is_symlink(PathOf("Wakebell.ini")));
  EXPECT_EQ(ReadBytes(ini), "[Wakebell]\r\nDATAPATH=x\r\nSTARTFLG=0\r\n");
}

TEST_F(DataFileSafety, SavingKeepsTheFilesPermissions) {
  for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604), mode_t(0666)}) {
    const std::string path = PathOf("Wakebell.dat");
    ASSERT_TRUE(SaveAlarmTable(path, TableOf(1)));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(SaveAlarmTable(path, TableOf(2)));
    EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
    const std::string ini = PathOf("Wakebell.ini");
    ASSERT_TRUE(WriteSetting(ini, "PRETIME", "1"));
    ASSERT_EQ(chmod(ini.c_str(), mode), 0);
    ASSERT_TRUE(WriteSetting(ini, "PRETIME", "2"));
    EXPECT_EQ(ModeOf(ini), mode) << std::oct << mode;
  }
  // The backup of a private file is as private as the file.
  const std::string path = PathOf("private.dat");
  WriteBytes(path, Bytes().Header(0, std::string(kCurrentDataTag)).str() + std::string(78, '\0') + "junk");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  AlarmTable t;
  ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0));
  ASSERT_TRUE(SaveAlarmTable(path, t));
  EXPECT_EQ(ModeOf(path + ".bak"), mode_t(0600));
  EXPECT_EQ(ModeOf(path), mode_t(0600));
}

}  // namespace
}  // namespace wb
