// The user's days-off file, and the entry's rest-on-days-off choice in the data file.
#include "StorageFixture.h"
#include "model/Holidays.h"
#include "storage/DataFile.h"
#include "storage/DaysOffFile.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

using test::Bytes;

class DaysOffFileTest : public test::TempFolder {};

std::string Cp932(const std::string& utf8) { return StorageCodec().ToCp932(utf8); }

TEST_F(DaysOffFileTest, ReadsDatesAndNamesAndCollectsTheBadLines) {
  const std::string bytes = Cp932(
      "2027/08/13 夏季休暇\r\n"
      "2027/8/16\t夏季休暇（振替）\r\n"
      "\r\n"
      "# 会社の休み\r\n"
      "2027-12-29　年末休暇　\r\n"
      "2027/02/29 うるう日ではない\r\n"
      "2027/13/01\r\n"
      "夏休み 2027/08/14\r\n"
      "2027/08/130\r\n"
      "99/01/01\r\n"
      "2028/01/04");
  const DaysOffFile file = ParseDaysOffFile(bytes, StorageCodec());
  EXPECT_TRUE(file.found);
  EXPECT_EQ(file.days, (std::vector<NamedDay>{{DayNumber(2027, 8, 13), "夏季休暇"},
                                              {DayNumber(2027, 8, 16), "夏季休暇（振替）"},
                                              {DayNumber(2027, 12, 29), "年末休暇"},
                                              {DayNumber(2028, 1, 4), ""}}));
  EXPECT_EQ(file.badLines, (std::vector<DaysOffBadLine>{{6, "2027/02/29 うるう日ではない"},
                                                        {7, "2027/13/01"},
                                                        {8, "夏休み 2027/08/14"},
                                                        {9, "2027/08/130"},
                                                        {10, "99/01/01"}}));
  const std::string message = DaysOffBadLinesMessage("C:\\Wakebell\\WakebellDaysOff.txt", file.badLines);
  EXPECT_NE(message.find("C:\\Wakebell\\WakebellDaysOff.txt"), std::string::npos);
  EXPECT_NE(message.find("7 行目: 2027/13/01"), std::string::npos);
}

TEST_F(DaysOffFileTest, MissingEmptyOrUtf8FilesAreNoError) {
  const std::string data = PathOf("Wakebell.dat");
  const std::string path = DaysOffPathBeside(data);
  EXPECT_EQ(path, Folder() + "WakebellDaysOff.txt");
  DaysOffFile file = ReadDaysOffFile(path);
  EXPECT_FALSE(file.found);
  EXPECT_TRUE(file.days.empty() && file.badLines.empty());
  WriteBytes(path, "");
  file = ReadDaysOffFile(path);
  EXPECT_TRUE(file.found && !file.unreadable && file.days.empty() && file.badLines.empty());
  // Saved by an editor as UTF-8 with a byte-order mark: the names still read right.
  WriteBytes(path, "\xEF\xBB\xBF" "2027/08/13 夏季休暇\n");
  file = ReadDaysOffFile(path);
  EXPECT_EQ(file.days, (std::vector<NamedDay>{{DayNumber(2027, 8, 13), "夏季休暇"}}));
  // A folder where the file should be cannot be read: no days, and said so.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  file = ReadDaysOffFile(path);
  EXPECT_TRUE(file.found && file.unreadable && file.days.empty());
}

// UTF-16 text as a file holds it: its byte-order mark, then each unit in the given byte order.
std::string Utf16File(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = char(unit >> 8), low = char(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// The same days as Notepad and other editors save them: the encodings and the line ends.
TEST_F(DaysOffFileTest, ReadsTheEncodingsAndLineEndsEditorsSave) {
  const char* const utf8 = "2027/08/13 夏季休暇\r\n2027/08/17　創立記念日\r\n休み\r\n2027/12/29";
  const char16_t* const utf16 = u"2027/08/13 夏季休暇\r\n2027/08/17　創立記念日\r\n休み\r\n2027/12/29";
  const auto lineEnds = [](std::string text, const char* end) {
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += std::string_view(end).size())
      text.replace(at, 2, end);
    return text;
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"code page 932, CR LF", Cp932(utf8)},
      {"code page 932, CR alone", Cp932(lineEnds(utf8, "\r"))},
      {"UTF-8 without a mark, LF", lineEnds(utf8, "\n")},
      {"UTF-8 without a mark, CR alone", lineEnds(utf8, "\r")},
      {"UTF-8 with its mark, CR LF", "\xEF\xBB\xBF" + std::string(utf8)},
      {"UTF-16 little-endian, CR LF", Utf16File(utf16, false)},
      {"UTF-16 big-endian, CR LF", Utf16File(utf16, true)},
      {"line ends mixed", "2027/08/13 夏季休暇\r2027/08/17　創立記念日\n休み\r\n2027/12/29\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DaysOffFile file = ParseDaysOffFile(c.bytes, StorageCodec());
    EXPECT_EQ(file.days, (std::vector<NamedDay>{{DayNumber(2027, 8, 13), "夏季休暇"},
                                                {DayNumber(2027, 8, 17), "創立記念日"},
                                                {DayNumber(2027, 12, 29), ""}}));
    EXPECT_EQ(file.badLines, (std::vector<DaysOffBadLine>{{3, "休み"}}));
  }
  // A character outside the basic plane comes through its surrogate pair whole.
  EXPECT_EQ(ParseDaysOffFile(Utf16File(u"2028/01/04 🎍", false), StorageCodec()).days,
            (std::vector<NamedDay>{{DayNumber(2028, 1, 4), "🎍"}}));
}

// Short half-width names in code page 932 can be well-formed UTF-8 by chance: ﾃｽ is C3 BD,
// "ý" in UTF-8. Such a file is read as code page 932; one with its mark or with Japanese in
// its UTF-8 reading stays UTF-8.
TEST_F(DaysOffFileTest, CodePage932ThatLooksLikeUtf8IsReadAsCodePage932) {
  const struct {
    const char* what;
    std::string bytes;
    std::string name;
  } cases[] = {
      {"ﾃｽ in code page 932 (UTF-8 would read ý)", "2027/08/13 \xC3\xBD\r\n", "ﾃｽ"},
      {"ﾃｽ ﾂｷ in code page 932 (UTF-8: ý ·)", "2027/08/13 \xC3\xBD \xC2\xB7\n", "ﾃｽ ﾂｷ"},
      {"ý in UTF-8 with its mark", "\xEF\xBB\xBF" "2027/08/13 \xC3\xBD\n", "ý"},
      {"Japanese in UTF-8 beside ý", "2027/08/13 夏季休暇 \xC3\xBD\n", "夏季休暇 ý"},
      {"ASCII alone", "2027/08/13 Obon\n", "Obon"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ParseDaysOffFile(c.bytes, StorageCodec()).days, (std::vector<NamedDay>{{DayNumber(2027, 8, 13), c.name}}));
  }
}

TEST_F(DaysOffFileTest, AFileLargerThanAMebibyteIsNotRead) {
  const std::string path = PathOf("WakebellDaysOff.txt");
  std::string bytes = "2027/08/13 夏季休暇\n";
  bytes += std::string(kDaysOffMaxBytes - bytes.size() - 1, '#') + "\n";
  WriteBytes(path, bytes);
  DaysOffFile file = ReadDaysOffFile(path);
  EXPECT_FALSE(file.tooLarge);
  EXPECT_EQ(file.days.size(), 1u);
  WriteBytes(path, bytes + "\n");
  file = ReadDaysOffFile(path);
  EXPECT_TRUE(file.found && file.tooLarge && !file.unreadable);
  EXPECT_TRUE(file.days.empty() && file.badLines.empty());
}

// The choice is bit 0x80 of WeekdayMask: it is stored, read back and converted from every
// layout as the mask always was, so a table that does not use it keeps its bytes.
TEST_F(DaysOffFileTest, TheRestChoiceTravelsInTheWeekdayMask) {
  AlarmTable table;
  AlarmEntry e;
  e.RepeatKind = kRepeatWeekly;
  e.AlarmTime = 46000.25;
  e.WeekdayMask = int16_t(0x1F | kMaskRestsOnDaysOff);
  table.Add(e);
  const std::string bytes = SerializeAlarmTable(table, StorageCodec());
  EXPECT_EQ(bytes.substr(20 + 8 + 2, 2), Bytes().I16(0x9F).str());  // after the header, AlarmTime, RepeatKind
  AlarmTable back;
  ASSERT_TRUE(ParseAlarmFile(bytes, StorageCodec(), back, 0, 0));
  EXPECT_EQ(back.Slots(), table.Slots());
  EXPECT_TRUE(RestsOnDaysOff(back[0]));

  e.WeekdayMask = 0x1F;
  AlarmTable plain;
  plain.Add(e);
  std::string plainBytes = bytes;
  plainBytes[30] = char(0x1F);
  EXPECT_EQ(SerializeAlarmTable(plain, StorageCodec()), plainBytes);

  // The oldest layout, as an older program would have kept a mask with the bit.
  const std::string oldest = Bytes().Header(1, "").F64(46000.25).I16(kRepeatWeekly).I16(0x9F).F64(0).F64(0)
                                 .I16(0).I16(0).I16(0).Str("").I16(0).Str("").str();
  const std::string twoRecords = oldest + oldest.substr(6);
  AlarmTable converted;
  ASSERT_TRUE(ParseAlarmFile(twoRecords, StorageCodec(), converted, 0, 0));
  ASSERT_EQ(converted.EntryCount(), 1);
  EXPECT_TRUE(RestsOnDaysOff(converted[0]));
  EXPECT_EQ(converted[0].WeekdayMask & 0x7F, 0x1F);
}

}  // namespace
}  // namespace wb
