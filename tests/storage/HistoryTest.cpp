// The ring history: one event a line whatever the message holds, torn and foreign lines
// skipped, the newest first for the window, and the start-up trim.
#include "storage/History.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

OleDate At(const char* moment) {
  OleDate d = 0;
  EXPECT_TRUE(ParseMoment(moment, d)) << moment;
  return d;
}

HistoryRecord Rang(const char* at, const std::string& message = "起床", int64_t late = 0) {
  return {At(at), 540, HistoryEvent::Rang, At("2026/12/07 07:00:00"), message, late};
}

class HistoryTest : public test::TempFolder {
 protected:
  std::string path() const { return HistoryPathIn(Folder()); }
};

TEST_F(HistoryTest, LinesRoundTripWhateverTheMessageHolds) {
  EXPECT_EQ(FormatHistoryLine(Rang("2026/12/07 07:00:05", "起床", 5)),
            "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00:00\t起床\t5\n");
  EXPECT_EQ(FormatHistoryLine({At("2026/12/07 07:00:05"), -210, HistoryEvent::Started, 0, "", 0}),
            "2026/12/07 07:00:05 -03:30\tstarted\t\t\t0\n");
  const HistoryRecord records[] = {
      Rang("2026/12/07 07:00:05", "a\tb\r\nc\\nd\\", 12),
      {At("2026/12/07 07:10:00"), 0, HistoryEvent::TableUnreadable, 0, "C:\\data\\Wakebell.dat", 0},
      {At("2026/12/07 07:10:00"), -840, HistoryEvent::SnoozeRang, At("2026/12/07 07:05:00"), "", 300},
  };
  for (const HistoryRecord& r : records) {
    const std::string line = FormatHistoryLine(r);
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    HistoryRecord back;
    ASSERT_TRUE(ParseHistoryLine(line.substr(0, line.size() - 1), back)) << line;
    EXPECT_EQ(back, r) << line;
  }
  for (int e = 0; e <= int(HistoryEvent::SnoozeRang); ++e) {
    EXPECT_EQ(HistoryEventFromTag(HistoryEventTag(HistoryEvent(e))), HistoryEvent(e));
  }
  const char* const notLines[] = {
      "",
      "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00:00\t起床",          // four fields
      "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00:00\t起床\t5\tx",    // six
      "2026/12/07 07:00:05\trang\t2026/12/07 07:00:00\t起床\t5",              // no offset
      "2026/12/07 07:00:05 +15:00\trang\t2026/12/07 07:00:00\t起床\t5",       // no such offset
      "2026/12/07 07:00:05 +09:00\trung\t2026/12/07 07:00:00\t起床\t5",       // unknown event
      "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00\t起床\t5",          // due cut short
      "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00:00\t起床\t",        // no lateness
      "2026/12/07 07:00:05 +09:00\trang\t2026/12/07 07:00:00\t起床\t5s",
  };
  for (const char* line : notLines) {
    HistoryRecord r;
    EXPECT_FALSE(ParseHistoryLine(line, r)) << line;
  }
  // The longest message keeps its first 300 characters and a mark that it goes on.
  std::string longest;
  while (longest.size() < 65535) longest += "会議";
  std::string line = FormatHistoryLine(Rang("2026/12/07 07:00:05", longest, 5));
  line.pop_back();
  HistoryRecord cut;
  ASSERT_TRUE(ParseHistoryLine(line, cut));
  EXPECT_EQ(cut.message, longest.substr(0, 300 * 3) + "…");
  EXPECT_EQ(HistoryDisplayLine(Rang("2026/12/07 07:00:05", "起床\r\n顔を洗う", 5)),
            "2026/12/07 07:00:05\t2026/12/07 07:00\t鳴った\t起床 顔を洗う");
}

TEST(HistoryWords, TheWindowSaysWhatHappenedAndHowLongInPlainWords) {
  // Each row: recorded, set time, what happened (how late or how long), the message.
  const struct {
    HistoryEvent event;
    int64_t seconds;
    const char* shown;
  } cases[] = {
      {HistoryEvent::Rang, 516, "鳴った（8分36秒遅れ）"},
      {HistoryEvent::Rang, 59, "鳴った"},  // under a minute is the due check's pace
      {HistoryEvent::PreBell, 60, "予鈴が鳴った（1分遅れ）"},
      {HistoryEvent::SnoozeRang, 3600 + 120 + 5, "スヌーズで再び鳴った（1時間2分遅れ）"},
      // A bell that did not ring is not late, however long ago it fell due.
      {HistoryEvent::Missed, 2 * 86400 + 3 * 3600 + 59, "鳴らなかった（知らせた）"},
      {HistoryEvent::SnoozeCancelled, 189, "スヌーズを取り消した"},
      {HistoryEvent::Snoozed, 0, "スヌーズした"},
      // The seconds of an alarm's end are how long it was up, not a delay.
      {HistoryEvent::Dismissed, 11, "止めた（鳴り始めから11秒）"},
      {HistoryEvent::EndedByItself, 4, "自動で閉じた（鳴り始めから4秒）"},
  };
  for (const auto& c : cases) {
    HistoryRecord r = Rang("2026/12/07 07:08:36", "起床", c.seconds);
    r.event = c.event;
    EXPECT_EQ(HistoryDisplayLine(r), std::string("2026/12/07 07:08:36\t2026/12/07 07:00\t") + c.shown + "\t起床");
  }
  // Events without a bell name what happened to the program; the stored tags stay as they were.
  const struct {
    HistoryEvent event;
    const char* tag;
    const char* shown;
  } plain[] = {
      {HistoryEvent::Started, "started", "プログラム開始"},
      {HistoryEvent::Ended, "ended", "プログラム終了"},
      {HistoryEvent::WakeNotPossible, "wake-not-possible", "スリープ中のPCを起こせない設定"},
  };
  for (const auto& c : plain) {
    HistoryRecord r;
    r.at = At("2026/12/07 07:00:00");
    r.event = c.event;
    EXPECT_EQ(HistoryDisplayLine(r), std::string("2026/12/07 07:00:00\t\t") + c.shown + "\t");
    EXPECT_STREQ(HistoryEventTag(c.event), c.tag);
  }
}

// The end of an alarm records the minute its window came up; how long it was up counts from the
// second its ring was recorded, when that ring is found.
TEST(HistoryWords, AnAlarmsTimeUpCountsFromTheSecondItRang) {
  auto record = [](HistoryEvent event, const char* at, const char* due, const char* message, int64_t late) {
    return HistoryRecord{At(at), 540, event, At(due), message, late};
  };
  using E = HistoryEvent;
  const struct {
    const char* what;
    std::vector<HistoryRecord> oldestFirst;  // the last one is the end shown
    const char* shown;
  } cases[] = {
      {"a quick timer rings at its own second",
       {record(E::Rang, "2026/12/07 10:08:15", "2026/12/07 10:08:15", "タイマー", 0),
        record(E::Dismissed, "2026/12/07 10:08:33", "2026/12/07 10:08:00", "タイマー", 33)},
       "止めた（鳴り始めから18秒）"},
      {"a snooze rings again late in a minute",
       {record(E::SnoozeRang, "2026/12/07 10:00:57", "2026/12/07 10:00:57", "会議", 0),
        record(E::Dismissed, "2026/12/07 10:01:07", "2026/12/07 10:00:00", "会議", 67)},
       "止めた（鳴り始めから10秒）"},
      {"a pre-bell, then another entry's bell in the same minute",
       {record(E::PreBell, "2026/12/07 09:50:01", "2026/12/07 10:00:00", "会議", 1),
        record(E::Rang, "2026/12/07 09:50:20", "2026/12/07 09:50:20", "お茶", 0),
        record(E::EndedByItself, "2026/12/07 09:51:01", "2026/12/07 09:50:00", "会議", 61)},
       "自動で閉じた（鳴り始めから1分）"},
      {"a ring of the same message a minute before is another alarm",
       {record(E::Rang, "2026/12/07 09:59:59", "2026/12/07 09:59:59", "会議", 0),
        record(E::Dismissed, "2026/12/07 10:00:40", "2026/12/07 10:00:00", "会議", 40)},
       "止めた（鳴り始めから40秒）"},
      {"no ring recorded (the history was trimmed): the minute it came up",
       {record(E::Dismissed, "2026/12/07 10:00:40", "2026/12/07 10:00:00", "会議", 40)},
       "止めた（鳴り始めから40秒）"},
  };
  for (const auto& c : cases) {
    std::vector<HistoryRecord> newestFirst(c.oldestFirst.rbegin(), c.oldestFirst.rend());
    const std::vector<std::string> rows = HistoryDisplayLines(newestFirst);
    ASSERT_EQ(rows.size(), newestFirst.size()) << c.what;
    const std::string& row = rows.front();
    const size_t what = row.find('\t', row.find('\t') + 1) + 1;
    EXPECT_EQ(row.substr(what, row.rfind('\t') - what), c.shown) << c.what;
  }
}

TEST_F(HistoryTest, ATornLastLineIsSkippedAndTheNextEventStartsItsOwnLine) {
  ASSERT_TRUE(AppendHistory(path(), Rang("2026/12/07 07:00:05")));
  // A write cut short, and a line some other program left.
  const std::string good = ReadBytes(path());
  WriteBytes(path(), good + "not an event\n" + FormatHistoryLine(Rang("2026/12/07 07:30:00")).substr(0, 30));
  std::vector<HistoryRecord> read = ReadHistory(path());
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0], Rang("2026/12/07 07:00:05"));

  ASSERT_TRUE(AppendHistory(path(), Rang("2026/12/07 08:00:00", "会議")));
  EXPECT_EQ(ReadHistory(path()), (std::vector<HistoryRecord>{Rang("2026/12/07 07:00:05"), Rang("2026/12/07 08:00:00", "会議")}));
  EXPECT_EQ(ReadHistoryNewestFirst(path()),
            (std::vector<HistoryRecord>{Rang("2026/12/07 08:00:00", "会議"), Rang("2026/12/07 07:00:05")}));
  EXPECT_EQ(ReadHistoryNewestFirst(path(), 1).size(), 1u);

  bool readable = true;
  EXPECT_TRUE(ReadHistory(PathOf("none.txt"), &readable).empty());
  EXPECT_FALSE(readable);
}

TEST_F(HistoryTest, TheStartUpTrimKeepsNinetyDaysAndFiveThousandLines) {
  EXPECT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));  // no file yet: nothing to do
  EXPECT_FALSE(Exists(path()));

  std::string lines;
  lines += FormatHistoryLine(Rang("2026/09/08 07:59:59"));  // 90 days and a second before
  lines += FormatHistoryLine(Rang("2026/09/08 08:00:00"));  // exactly 90 days before
  lines += FormatHistoryLine(Rang("2026/12/07 07:00:00"));
  WriteBytes(path(), lines + "torn");
  ASSERT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));
  EXPECT_EQ(ReadBytes(path()), lines.substr(lines.find('\n') + 1));
  // A clock a year ahead counts the days back from the newest line, and keeps them all.
  ASSERT_TRUE(TrimHistory(path(), At("2027/12/07 08:00:00")));
  EXPECT_EQ(ReadBytes(path()), lines.substr(lines.find('\n') + 1));

  // Untouched when there is nothing to trim.
  const auto stamp = std::filesystem::last_write_time(path());
  std::filesystem::last_write_time(path(), stamp - std::chrono::hours(1));
  ASSERT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));
  EXPECT_EQ(std::filesystem::last_write_time(path()), stamp - std::chrono::hours(1));

  std::string many;
  for (int i = 0; i < 5003; ++i) many += FormatHistoryLine(Rang("2026/12/01 07:00:00", std::to_string(i)));
  WriteBytes(path(), many);
  ASSERT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));
  const std::vector<HistoryRecord> kept = ReadHistory(path());
  ASSERT_EQ(kept.size(), kHistoryKeepLines);
  EXPECT_EQ(kept.front().message, "3");
  EXPECT_EQ(kept.back().message, "5002");
}

// However large the file has grown, the trim reads only its tail: a line that starts before
// it is cut off and dropped, and what is left is no larger than that tail.
TEST_F(HistoryTest, TheTrimReadsOnlyTheTailOfALongHistory) {
  // Written by hand: this program cuts long messages.
  const std::string huge =
      "2026/12/07 06:00:00 +09:00\trang\t2026/12/07 06:00:00\t" + std::string(kHistoryTailBytes, 'x') + "\t0\n";
  std::string recent;
  for (const char* at : {"2026/12/07 07:00:00", "2026/12/07 07:30:00"}) recent += FormatHistoryLine(Rang(at));
  WriteBytes(path(), huge + recent);
  ASSERT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));
  EXPECT_EQ(ReadBytes(path()), recent);
  WriteBytes(path(), huge + recent);
  EXPECT_EQ(ReadHistoryNewestFirst(path()).size(), 2u);
}

// A file without one event in it is kept as a backup before the history starts again; one
// that is ours keeps no backup whatever the trim drops.
TEST_F(HistoryTest, AHistoryThatCannotBeReadIsKeptAsideBeforeANewOneStarts) {
  const std::string event = FormatHistoryLine(Rang("2026/12/07 07:00:00"));
  std::string utf16;  // the same line saved again by an editor as UTF-16
  for (const char c : event) utf16 += std::string{c, '\0'};
  const struct {
    const char* what;
    std::string bytes;
    std::string after;
    bool backup;
  } cases[] = {
      {"another program's file", "2026-12-07 07:00 started\nstopped\n", "", true},
      {"ours saved as UTF-16", "\xFF\xFE" + utf16, "", true},
      {"ours with a foreign and a torn line", "note\n" + event + "2026/12/07 07:", event, false},
      // Every line older than 90 days: a clock far ahead, or a PC long unused; either way the
      // days count back from the newest line, and nothing is emptied.
      {"ours, all older than 90 days", FormatHistoryLine(Rang("2026/01/01 07:00:00")),
       FormatHistoryLine(Rang("2026/01/01 07:00:00")), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(path() + ".bak");
    WriteBytes(path(), c.bytes);
    ASSERT_TRUE(TrimHistory(path(), At("2026/12/07 08:00:00")));
    EXPECT_EQ(ReadBytes(path()), c.after);
    EXPECT_EQ(Exists(path() + ".bak"), c.backup);
    if (c.backup) {
      EXPECT_EQ(ReadBytes(path() + ".bak"), c.bytes);
    }
  }
}

// A long message keeps its first 300 characters whole: a flag that would be cut in two goes.
TEST(HistoryMessageCut, KeepsWholeClustersOnly) {
  HistoryRecord record;
  record.event = HistoryEvent::Rang;
  record.message = std::string(299, 'm') + "🇯🇵";
  EXPECT_NE(FormatHistoryLine(record).find("\t" + std::string(299, 'm') + "…\t"), std::string::npos);
  record.message = std::string(298, 'm') + "🇯🇵";
  EXPECT_NE(FormatHistoryLine(record).find("\t" + std::string(298, 'm') + "🇯🇵\t"), std::string::npos);
}

}  // namespace
}  // namespace wb
