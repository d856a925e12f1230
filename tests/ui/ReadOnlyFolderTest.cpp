// A program folder that cannot be written (unzipped into Program Files, a locked medium): the
// start-up says so once, naming the folder; the alarms read from the table still ring; nothing
// is written anywhere in its place.
#include <cerrno>
#include <climits>
#include <map>
#include <unistd.h>

#include "MonitorFixture.h"
#include "monitor/ReadOnlyFolder.h"
#include "platform/posix/PosixFiles.h"

namespace wb::test {
namespace {

// Every write under `lockedFolder` fails as a refused disk does, so the settings and data
// files there really stay as they were; writes elsewhere go through.
std::string lockedFolder;
int SyncOutsideLockedFolder(int fd) {
  char link[64], target[PATH_MAX] = {};
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, target, sizeof target - 1);
  const std::string path(target, n > 0 ? size_t(n) : 0);
  if (!lockedFolder.empty() && (path + "/").rfind(lockedFolder, 0) == 0) {
    errno = EACCES;
    return -1;
  }
  return fsync(fd);
}

// Every file below `folder` with its bytes.
std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
    std::string bytes;
    if (item.is_regular_file()) ReadWholeFile(item.path().string(), bytes);
    files[item.path().string()] = bytes;
  }
  return files;
}

struct FolderCase {
  const char* name;
  bool programFolderWritable;
  bool dataInOwnFolder;
};

class ReadOnlyFolder : public MonitorTest, public ::testing::WithParamInterface<FolderCase> {
 protected:
  ~ReadOnlyFolder() override {
    posix::ReplaceSyncCall(nullptr);
    lockedFolder.clear();
    std::error_code ec;
    std::filesystem::remove_all(dataFolder, ec);
  }
  // A data folder the user chose outside the program's folder (the editor's data location).
  std::string DataElsewhere() {
    std::filesystem::create_directories(dataFolder);
    const std::string path = (dataFolder / "Wakebell.dat").string();
    SetSetting(ProgramIni(), "DATAPATH", path);
    return path;
  }
  const std::filesystem::path dataFolder = dir.string() + "-data";
};

TEST_P(ReadOnlyFolder, SaysSoOnceNamingTheFolderAndStillRingsTheTable) {
  const FolderCase& c = GetParam();
  const std::string dataPath = c.dataInOwnFolder ? DataElsewhere() : DefaultDataPath();
  SaveTable({Daily(6, 1)}, dataPath);
  SetSetting(ProgramIni(), "STARTFLG", "0");
  const std::string programFolder = App().programFolder;
  if (!c.programFolderWritable) {
    folders.ReadOnly.insert(programFolder);
    lockedFolder = programFolder;
    posix::ReplaceSyncCall(&SyncOutsideLockedFolder);
  }
  std::map<std::string, std::string> before = Contents(dir);

  MonitorWindow& form = Start();
  ASSERT_TRUE(form.Loaded());
  EXPECT_EQ(folders.Asked, std::vector<std::string>{programFolder});
  const int expected = c.programFolderWritable ? 0 : 1;
  ASSERT_EQ(dialogs.CountMsgBoxes(ReadOnlyFolderMessage(programFolder)), expected);
  ASSERT_EQ(dialogs.Asked.size(), size_t(expected));
  if (expected) {
    EXPECT_EQ(dialogs.Asked[0].style, kOkOnly | kIconExclamation);
    EXPECT_EQ(dialogs.Asked[0].title, "Wakebell");
  }
  // The icon and the due check were up before the question: the alarm read rings on time.
  EXPECT_TRUE(tray.Present);
  EXPECT_EQ(App().table.EntryCount(), 1);
  Seconds(61);
  EXPECT_TRUE(AlarmShown());
  ui::TheForm<AlarmWindow>().okButton.Press();
  Seconds(3600);
  EXPECT_EQ(dialogs.Asked.size(), size_t(expected));  // once, not at every failed write

  std::map<std::string, std::string> after = Contents(dir);
  if (c.programFolderWritable) return;
  // Nothing written in the program folder, and nothing put anywhere else instead; the data
  // folder the user chose (writable here) takes its own start flag, as always.
  EXPECT_EQ(after, before);
  if (c.dataInOwnFolder) {
    EXPECT_EQ(Setting(DataIniPath(dataPath), "STARTFLG"), "0");
  }
}

INSTANTIATE_TEST_SUITE_P(Folders, ReadOnlyFolder,
                         ::testing::Values(FolderCase{"Writable", true, false},
                                           FolderCase{"WritableDataElsewhere", true, true},
                                           FolderCase{"ReadOnly", false, false},
                                           FolderCase{"ReadOnlyDataElsewhere", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOnlyFolderMessage, NamesTheFolderAsExplorerShowsItAndSaysWhatToDo) {
  const struct {
    const char* folder;
    const char* shown;
  } cases[] = {
      {"C:\\Program Files\\Wakebell-1.0.5\\", "\r\nC:\\Program Files\\Wakebell-1.0.5\r\n"},
      {"D:\\", "\r\nD:\\\r\n"},
      {"\\\\server\\アプリ\\Wakebell\\", "\r\n\\\\server\\アプリ\\Wakebell\r\n"},
  };
  for (const auto& c : cases) {
    const std::string text = ReadOnlyFolderMessage(c.folder);
    EXPECT_NE(text.find(c.shown), std::string::npos) << text;
    EXPECT_NE(text.find("書き込みのできる場所へ移して"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace wb::test
