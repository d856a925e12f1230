// A data file that others write too (another PC through a shared folder, the tool): the
// monitor takes a change in, by the folder's notice or by its look each minute, keeps what
// rang here, and leaves a file it cannot read for later; the editor's OK never writes over a
// change unseen.
#include <fstream>
#include <iterator>

#include "EditorFixture.h"
#include "app_state/HistoryLog.h"
#include "platform/fake/FakeFileWatch.h"
#include "storage/History.h"

namespace wb::test {
namespace {

class SharedDataFile : public EditorTest {
 protected:
  SharedDataFile() { Svc().fileWatch = &fileWatch; }
  int Count(const std::string& tag) const {
    int n = 0;
    for (const HistoryRecord& r : ReadHistory(HistoryPath())) n += HistoryEventTag(r.event) == tag;
    return n;
  }
  // Another PC saves the table: a new file put in place, as a sync service or the tool does.
  void SavedElsewhere(const std::vector<AlarmEntry>& entries) {
    SaveTable(entries);
    fileWatch.Pending = true;
  }
  static std::string ReadBytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::vector<std::string> Times(const AlarmTable& t) {
    std::vector<std::string> times;
    for (int s = 0; s < t.EntryCount(); ++s) times.push_back(FormatHourMinute(t[s].AlarmTime));
    return times;
  }
  fake::FakeFileWatch fileWatch;
};

struct NoticeCase {
  const char* name;
  bool notices;       // the folder sends change notices
  int secondsToTake;  // from 06:00:30 until the table holds the new entry
};

class SharedDataFileNotice : public SharedDataFile, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(SharedDataFileNotice, EntryAddedElsewhereIsTakenInAndRings) {
  const NoticeCase& c = GetParam();
  fileWatch.GivesNotices = c.notices;
  SaveTable({Daily(7, 0)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  Start();
  EXPECT_EQ(fileWatch.Watched, std::vector<std::string>{DefaultDataPath()});
  SavedElsewhere({Daily(7, 0), Daily(6, 2)});
  Seconds(c.secondsToTake - 1);
  EXPECT_EQ(App().table.EntryCount(), 1) << "not before its time";
  Seconds(1);
  EXPECT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(Count("reloaded"), 1);
  Seconds(95 - c.secondsToTake);  // 06:02:05
  EXPECT_TRUE(AlarmShown()) << "06:02 rings";
  EXPECT_EQ(Count("reloaded"), 1) << "an unchanged file is not read again";
}

INSTANTIATE_TEST_SUITE_P(, SharedDataFileNotice,
                         ::testing::Values(NoticeCase{"FolderNotice", true, 1},
                                           NoticeCase{"MinuteLookWithoutNotice", false, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SharedDataFile, BellRungHereIsNotRungAgainWhenTheFileMovesItsEntry) {
  SaveTable({Daily(6, 1)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 50));
  Start();
  Seconds(15);  // 06:01:05: rung
  ASSERT_EQ(Count("rang"), 1);
  TheAlarm().Dismiss();
  // Another PC put an entry before it (the file's copy has no mark of this PC's bell).
  SavedElsewhere({Daily(9, 0), Daily(6, 1)});
  Seconds(40);
  EXPECT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(Count("rang"), 1);
  EXPECT_FALSE(AlarmShown());
}

// A bell of an entry that came with the file fell due while this program could not yet read it
// (a sync service writing it from 06:01:30): taken as the catch-up takes a gap, once.
struct LateEntryCase {
  const char* name;
  bool inTableBefore;  // the 06:02 entry was in the table this program rang from meanwhile
  int readableAfter;   // seconds from 06:01:30 until the file can be read
  int rang, missed;    // of the 06:02 bell, in the history
};

class SharedDataFileLateEntry : public SharedDataFile, public ::testing::WithParamInterface<LateEntryCase> {};

TEST_P(SharedDataFileLateEntry, BellDueBeforeTheReloadIsRungOrReportedOnce) {
  const LateEntryCase& c = GetParam();
  SaveTable(c.inTableBefore ? std::vector{Daily(7, 0), Daily(6, 2)} : std::vector{Daily(7, 0)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  Start();
  Seconds(60);
  std::ofstream(DefaultDataPath(), std::ios::binary | std::ios::trunc) << "half written";
  fileWatch.Pending = true;
  Seconds(c.readableAfter);
  SavedElsewhere({Daily(7, 0), Daily(6, 2)});
  Seconds(1);
  ASSERT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(AlarmShown(), c.rang == 1);
  // Read again with one more entry: the 06:02 bell was handled here and stays so.
  Seconds(30);
  SavedElsewhere({Daily(7, 0), Daily(6, 2), Daily(9, 0)});
  Seconds(61);
  EXPECT_EQ(Count("rang"), c.rang);
  EXPECT_EQ(Count("missed"), c.missed);
}

INSTANTIATE_TEST_SUITE_P(
    , SharedDataFileLateEntry,
    ::testing::Values(LateEntryCase{"MinuteLateRingsNow", false, 100, 1, 0},
                      LateEntryCase{"OlderGoesIntoTheNotice", false, 180, 0, 1},
                      LateEntryCase{"RungHereIsNotRungAgain", true, 100, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SharedDataFile, FileSavedAgainUnchangedIsNeitherReadAgainNorAskedAbout) {
  SaveTable({Daily(7, 0)});
  const std::filesystem::path path = DefaultDataPath();
  auto touch = [&] {
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    fileWatch.Pending = true;
  };
  Start();
  touch();
  Seconds(61);
  EXPECT_EQ(Count("reloaded"), 0);
  EditorWindow& w = Open();
  SetTime(w, 8, 0);
  w.addButton.Press();
  touch();
  w.saveAndCloseButton.Press();
  EXPECT_EQ(dialogs.ChooseButtons.size(), 0u);
}

TEST_F(SharedDataFile, UnsavedEditsAreNotReplaced) {
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  SetTime(w, 8, 0);
  w.addButton.Press();
  ASSERT_TRUE(App().editor.dataChanged);
  SavedElsewhere({Daily(7, 0), Daily(9, 0), Daily(10, 0)});
  Seconds(61);
  EXPECT_EQ(App().table.EntryCount(), 2) << "the editor's table stays";
  EXPECT_EQ(Count("reloaded"), 0);
}

TEST_F(SharedDataFile, OpenEditorWithoutEditsShowsTheNewTable) {
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  ASSERT_EQ(Rows(w).size(), 1u);
  SavedElsewhere({Daily(7, 0), Daily(9, 0)});
  Seconds(1);
  EXPECT_EQ(Rows(w).size(), 2u);
  // OK then saves without a question: the editor shows the file as it is.
  w.saveAndCloseButton.Press();
  EXPECT_EQ(dialogs.ChooseButtons.size(), 0u);
}

TEST_F(SharedDataFile, FileUnreadableForAMomentIsTriedAgainAndToldOnceWhenItStaysSo) {
  SaveTable({Daily(7, 0)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  Start();
  std::ofstream(DefaultDataPath(), std::ios::binary | std::ios::trunc) << "half written";
  fileWatch.Pending = true;
  Seconds(1);
  EXPECT_EQ(App().table.EntryCount(), 1) << "the table in memory goes on";
  Seconds(120);
  Seconds(120);
  EXPECT_EQ(App().table.EntryCount(), 1);
  int told = 0;
  for (const auto& q : dialogs.Asked) told += q.text.find("読み込めません") != std::string::npos;
  EXPECT_EQ(told, 1);
  SavedElsewhere({Daily(7, 0), Daily(8, 0)});
  Seconds(1);
  EXPECT_EQ(App().table.EntryCount(), 2);
}

TEST_F(SharedDataFile, BellsRingWhileTheQuestionWaits) {
  SaveTable({Daily(6, 1)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 50));
  EditorWindow& w = Open();
  SetTime(w, 8, 0);
  w.addButton.Press();
  SavedElsewhere({Daily(6, 1), Daily(9, 0)});
  dialogs.OnAsk = [&](const fake::FakeDialogs::Question& q) {
    if (q.kind == "choose") Seconds(15);  // the user reads the question past 06:01
  };
  w.saveAndCloseButton.Press();
  EXPECT_EQ(Count("rang"), 1);
}

// What each answer of the question at OK does with the editor's edit (an 08:00 entry) and the
// file another PC saved meanwhile (with a 09:00 entry).
struct ConflictCase {
  const char* name;
  std::vector<int> choose;   // the buttons pressed
  std::vector<int> confirm;  // the answers to the second question
  std::vector<std::string> fileTimes;  // the entries' times the file holds afterwards
  bool backup;                         // the other PC's file kept beside it
  bool editorOpen;
  std::vector<std::string> memoryTimes;  // the table in memory afterwards
};

class SharedDataFileConflict : public SharedDataFile, public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(SharedDataFileConflict, OkAsksAndLosesNothing) {
  const ConflictCase& c = GetParam();
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  SetTime(w, 8, 0);
  w.addButton.Press();
  SavedElsewhere({Daily(7, 0), Daily(9, 0)});
  const std::string otherBytes = ReadBytesOf(DefaultDataPath());
  dialogs.ChooseAnswers.assign(c.choose.begin(), c.choose.end());
  dialogs.MsgAnswers.assign(c.confirm.begin(), c.confirm.end());
  w.saveAndCloseButton.Press();
  ASSERT_EQ(dialogs.ChooseButtons.size(), 1u);
  EXPECT_EQ(dialogs.ChooseButtons[0], (std::vector<std::string>{"上書き(&O)", "読み込み直す(&R)", "キャンセル"}));
  const std::string& question = dialogs.Asked[dialogs.Asked.size() - 1 - c.confirm.size()].text;
  EXPECT_NE(question.find(DefaultDataPath()), std::string::npos) << question;
  EXPECT_NE(question.find("更新日時: 20"), std::string::npos) << question;
  AlarmTable file;
  ASSERT_TRUE(ReadAlarmFile(DefaultDataPath(), file, 0, 0));
  EXPECT_EQ(Times(file), c.fileTimes);
  EXPECT_EQ(ReadBytesOf(DefaultDataPath() + ".bak") == otherBytes, c.backup);
  const EditorWindow* open = ui::FormIfLoaded<EditorWindow>();
  EXPECT_EQ(open && open->Visible(), c.editorOpen);
  EXPECT_EQ(Times(App().table), c.memoryTimes);
}

INSTANTIATE_TEST_SUITE_P(
    , SharedDataFileConflict,
    ::testing::Values(
        ConflictCase{"Overwrite", {0}, {}, {"07:00", "08:00"}, true, false, {"07:00", "08:00"}},
        ConflictCase{"ReloadDropsTheEdits", {1}, {kAnswerOk}, {"07:00", "09:00"}, false, true, {"07:00", "09:00"}},
        ConflictCase{"ReloadNotConfirmed", {1}, {kAnswerCancel}, {"07:00", "09:00"}, false, true, {"07:00", "08:00"}},
        ConflictCase{"Cancel", {2}, {}, {"07:00", "09:00"}, false, true, {"07:00", "08:00"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wb::test
