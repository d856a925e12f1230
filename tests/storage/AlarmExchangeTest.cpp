// Reading other programs' iCalendar and CSV files: which events become which entries (zones
// brought to this PC's time, the program's two-week cycle, alarms as bells), which are skipped
// and why, and the line folding that keeps a long Japanese text whole.
#include <gtest/gtest.h>

#include "model/DayMath.h"
#include "storage/AlarmExchange.h"
#include "storage/ICalendarText.h"

namespace wb {
namespace {

constexpr const char* kNewYork =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
    "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nDTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

ImportContext TokyoContext() {
  ImportContext c;
  c.pattern.Look.FontName = "MS Pｺﾞｼｯｸ";
  c.pattern.BlinkCount = 10;
  c.utcOffsetMinutes = [](OleDate) { return 540; };
  c.storable = [](const std::string& s) { return s.find("\xF0") == std::string::npos; };
  return c;
}

ImportResult ImportEvent(const std::string& lines) {
  const std::string text = std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n") + kNewYork +
                           "BEGIN:VEVENT\r\n" + (lines.find("SUMMARY") == std::string::npos ? "SUMMARY:予定\r\n" : "") +
                           lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
  return ImportICalendar(text, TokyoContext());
}

TEST(ICalendarImport, OtherProgramsEventsBecomeTheEntriesThatRingAsMeant) {
  struct Case {
    std::string lines;
    int kind, mask;
    OleDate set;
    BellMode bells;
    int lead;
  } cases[] = {
      {"DTSTART:20261110T070000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU,TH\r\n", kRepeatWeekly, kMaskTuesday | kMaskThursday,
       MakeDate(2026, 11, 10, 7, 0), BellMode::MainOnly, 0},
      // Monday 19:00 in New York is Tuesday morning here: an hour later in winter than in summer.
      {"DTSTART;TZID=America/New_York:20270705T190000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\n", kRepeatWeekly,
       kMaskTuesday, MakeDate(2027, 7, 6, 8, 0), BellMode::MainOnly, 0},
      {"DTSTART;TZID=America/New_York:20270104T190000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\n", kRepeatWeekly,
       kMaskTuesday, MakeDate(2027, 1, 5, 9, 0), BellMode::MainOnly, 0},
      {"DTSTART:20270105T230000Z\r\n", kRepeatOnce, kMaskWednesday, MakeDate(2027, 1, 6, 8, 0), BellMode::MainOnly, 0},
      // Every other week from a week starting on Sunday: the cycle starts on that Sunday when a
      // weekday of the rule comes before the start in that week.
      {"DTSTART:20261111T080000\r\nRRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;WKST=SU\r\n", kRepeatBiweekly,
       kMaskMonday | kMaskWednesday, MakeDate(2026, 11, 8, 8, 0), BellMode::MainOnly, 0},
      {"DTSTART:20261109T080000\r\nRRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE\r\n", kRepeatBiweekly,
       kMaskMonday | kMaskWednesday, MakeDate(2026, 11, 9, 8, 0), BellMode::MainOnly, 0},
      {"DTSTART:20261105T090000\r\nRRULE:FREQ=MONTHLY;BYMONTHDAY=31\r\n", kRepeatMonthly, 0,
       MakeDate(2026, 12, 31, 9, 0), BellMode::MainOnly, 0},
      {"DTSTART:20261110T190000\r\nRRULE:FREQ=MONTHLY;BYDAY=2TU,2FR\r\n", kRepeatNth1 + 1,
       kMaskTuesday | kMaskFriday, MakeDate(2026, 11, 10, 19, 0), BellMode::MainOnly, 0},
      {"DTSTART:20261101T055500\r\nRRULE:FREQ=DAILY\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P1DT30M\r\n"
       "END:VALARM\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:PT0S\r\nEND:VALARM\r\n",
       kRepeatDaily, 0, MakeDate(2026, 11, 1, 5, 55), BellMode::PreAndMain, 1470},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    const ImportResult r = ImportEvent(c.lines);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.entries.size(), 1u) << (r.skipped.empty() ? "" : r.skipped[0].reason);
    const AlarmEntry& e = r.entries[0];
    EXPECT_EQ(e.RepeatKind, c.kind);
    EXPECT_EQ(e.WeekdayMask, c.mask);
    EXPECT_EQ(FormatMoment(e.AlarmTime), FormatMoment(c.set));
    EXPECT_EQ(e.BellMode, c.bells);
    EXPECT_EQ(e.PreBellMinutes, c.lead);
    EXPECT_EQ(e.Message, "予定");
    EXPECT_EQ(e.Look.FontName, "MS Pｺﾞｼｯｸ");  // the look new entries get
  }
}

TEST(ICalendarImport, EventsTheProgramCannotRingAreNamedWithTheReason) {
  struct Case {
    std::string lines;
    const char* reason;
  } cases[] = {
      {"DTSTART;VALUE=DATE:20270101\r\n", "終日"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=YEARLY\r\n", "毎年"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n", "回数"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=WEEKLY;INTERVAL=3\r\n", "3 週"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=MONTHLY;INTERVAL=2\r\n", "間隔 2"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=MONTHLY;BYDAY=-1FR\r\n", "最後"},
      {"DTSTART:20270101T090000\r\nRRULE:FREQ=DAILY\r\nEXDATE:20270102T090000\r\n", "EXDATE"},
      {"DTSTART;TZID=America/New_York:20270104T190000\r\nRRULE:FREQ=MONTHLY;BYDAY=1MO\r\n", "日付が変わり"},
      {"DTSTART;TZID=Mars/Olympus:20270104T190000\r\n", "Mars/Olympus"},
      {"DTSTART:20270101T090000\r\nBEGIN:VALARM\r\nTRIGGER;RELATED=END:-PT5M\r\nEND:VALARM\r\n", "終わり"},
      {"DTSTART:20270101T090000\r\nBEGIN:VALARM\r\nTRIGGER:PT5M\r\nEND:VALARM\r\n", "後に鳴る"},
      {"DTSTART:20270101T090000\r\nBEGIN:VALARM\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\nBEGIN:VALARM\r\n"
       "TRIGGER:-PT10M\r\nEND:VALARM\r\n", "2 個"},
      {"DTSTART:20270101T090000\r\nRECURRENCE-ID:20270101T090000\r\n", "一回だけ"},
      {"DTSTART:20270101T090000\r\nSUMMARY:\xF0\x9F\x94\x94\r\n", "保存できない"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    const ImportResult r = ImportEvent(c.lines);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.entries.empty());
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_NE(r.skipped[0].reason.find(c.reason), std::string::npos) << r.skipped[0].reason;
  }
}

TEST(ICalendarText, FoldingKeepsLinesShortAndCharactersWhole) {
  std::string message;
  for (int i = 0; i < 100; ++i) message += i % 7 ? "鐘" : "a";
  std::string folded;
  ical::AppendFolded(folded, "SUMMARY:" + ical::EscapeText(message));
  for (size_t start = 0, end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 75u);
    EXPECT_NE(static_cast<unsigned char>(folded[start + 1]) & 0xC0, 0x80u) << "a line starts inside a character";
  }
  std::vector<ical::Component> calendars;
  std::string error;
  ASSERT_TRUE(ical::Parse("BEGIN:VCALENDAR\r\n" + folded + "END:VCALENDAR\r\n", calendars, error)) << error;
  EXPECT_EQ(ical::UnescapeText(calendars[0].Find("SUMMARY")->value), message);
}

// A sheet as people make it: columns in their own order and some left out, a spreadsheet's own
// spelling of dates and times, quoted cells, LF line ends, or saved in code page 932.
TEST(CsvImport, SheetsTypedByHandOrResavedBySpreadsheets) {
  ImportContext context = TokyoContext();
  context.fromCp932 = [](const std::string& s) { return s == "\x8E\xED\x97\xDE,\x93\xFA\x95\x74,\x8E\x9E\x8D\x8F\r\n\x96\x88\x93\xFA,2027/1/5,7:05\r\n"
                                                             ? std::string("種類,日付,時刻\r\n毎日,2027/1/5,7:05\r\n")
                                                             : std::string(); };
  struct Case {
    std::string text;
    int kind, mask;
    OleDate set;
    std::string message;
  } cases[] = {
      {"メッセージ,時刻,日付,種類,曜日\n\"朝会, 全員\",6:30,2027-01-04,毎週,月 水\n", kRepeatWeekly,
       kMaskMonday | kMaskWednesday, MakeDate(2027, 1, 4, 6, 30), "朝会, 全員"},
      {"\xEF\xBB\xBF種類,日付,時刻,メッセージ,祝日は鳴らさない\r\n第1,2027/1/5,7:05,\"二\r\n行\",はい\r\n",
       kRepeatNth1, kMaskRestsOnDaysOff, MakeDate(2027, 1, 5, 7, 5), "二\r\n行"},
      {"\x8E\xED\x97\xDE,\x93\xFA\x95\x74,\x8E\x9E\x8D\x8F\r\n\x96\x88\x93\xFA,2027/1/5,7:05\r\n", kRepeatDaily, 0,
       MakeDate(2027, 1, 5, 7, 5), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ImportResult r = ImportCsv(c.text, context);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].RepeatKind, c.kind);
    EXPECT_EQ(r.entries[0].WeekdayMask, c.mask);
    EXPECT_EQ(FormatMoment(r.entries[0].AlarmTime), FormatMoment(c.set));
    EXPECT_EQ(r.entries[0].Message, c.message);
    EXPECT_EQ(r.entries[0].BlinkCount, 10);  // a column left out takes the pattern's value
  }
}

}  // namespace
}  // namespace wb
