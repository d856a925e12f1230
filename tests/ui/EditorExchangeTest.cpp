// The editor's エクスポート… and インポート…: what it writes imports back as unsaved edits that only
// ＯＫ saves; a bad file or one with events the program cannot ring says so and adds nothing
// half.
#include <fstream>

#include "EditorFixture.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"

namespace wb {
namespace {

class EditorExchange : public test::EditorTest {
 protected:
  int StoredCount() {
    AlarmTable t;
    EXPECT_TRUE(ReadAlarmFile(DefaultDataPath(), t, 0, 0));
    return t.EntryCount();
  }
  void Write(const std::string& path, const std::string& text) { std::ofstream(PathFromUtf8(path), std::ios::binary) << text; }
};

TEST_F(EditorExchange, ExportedFileImportsBackAsUnsavedEditsThatOkSaves) {
  SaveTable({Daily(7, 0), Weekly(kMaskMonday | kMaskFriday, MakeDate(2026, 12, 1, 8, 30))});
  EditorWindow& w = Open();
  for (const char* name : {"out.ics", "out.csv"}) {
    SCOPED_TRACE(name);
    const std::string file = (dir / name).string();
    dialogs.OpenAnswers = {file};
    w.exportButton.Press();
    EXPECT_NE(LastMessage().find("2 件のアラームを書き出しました"), std::string::npos) << LastMessage();
    ASSERT_TRUE(FileExists(file));
  }
  const std::vector<std::string> before = Rows(w);
  dialogs.OpenAnswers = {(dir / "out.ics").string()};
  w.importButton.Press();
  EXPECT_NE(LastMessage().find("2 件のアラームを取り込みました"), std::string::npos) << LastMessage();
  ASSERT_EQ(App().table.EntryCount(), 4);
  EXPECT_EQ(App().table[2], App().table[0]);
  EXPECT_EQ(App().table[3], App().table[1]);
  EXPECT_EQ(Rows(w).size(), 4u);
  EXPECT_EQ(StoredCount(), 2);  // nothing saved before ＯＫ
  EXPECT_FALSE(w.ActiveGuards().dialogOpen);
  w.saveAndCloseButton.Press();
  EXPECT_EQ(StoredCount(), 4);
}

TEST_F(EditorExchange, SkippedEventsAreNamedAndABadFileAddsNothing) {
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  const std::string other = (dir / "other.ics").string();
  Write(other,
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:誕生日\r\nDTSTART:20270105T090000\r\nRRULE:FREQ=YEARLY\r\n"
        "END:VEVENT\r\nBEGIN:VEVENT\r\nSUMMARY:朝会\r\nDTSTART:20270105T090000\r\nRRULE:FREQ=WEEKLY\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n");
  dialogs.OpenAnswers = {other};
  w.importButton.Press();
  EXPECT_NE(LastMessage().find("1 件のアラームを取り込みました"), std::string::npos) << LastMessage();
  EXPECT_NE(LastMessage().find("・誕生日: 毎年の繰り返しは表せません"), std::string::npos) << LastMessage();
  ASSERT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(App().table[1].Message, "朝会");

  const std::string bad = (dir / "bad.csv").string();
  Write(bad, "種類,日付,時刻\r\n毎日,2027/01/05,07:00\r\n毎日,2027/13/05,07:00\r\n");
  dialogs.OpenAnswers = {bad};
  w.importButton.Press();
  EXPECT_NE(LastMessage().find("3 行目「日付」"), std::string::npos) << LastMessage();
  EXPECT_EQ(App().table.EntryCount(), 2);
}

}  // namespace
}  // namespace wb
