#include "model/ListLine.h"

#include "model/Assert.h"
#include "model/DayMath.h"
#include "model/Schedule.h"
#include "model/Utf8.h"

namespace wb {
namespace {

const char* const kRingsMark = "■";
const char* const kRungMark = "□";

void AppendDigits(std::string& out, int value, int width) {
  char buf[8];
  for (int i = width - 1; i >= 0; --i, value /= 10) buf[i] = char('0' + value % 10);
  out.append(buf, size_t(width));
}

}  // namespace

std::string ListMark(const AlarmEntry& entry, OleDate calendarDay, OleDate now) {
  const int64_t day = DayOf(calendarDay);
  const DayTime present = DayTimeOf(now);
  if (day < present.day) return kRungMark;
  if (day > present.day) return kRingsMark;
  return MinuteOfDay(entry.AlarmTime) > present.Minute() ? kRingsMark : kRungMark;
}

std::string ListLineText(const std::string& mark, const AlarmEntry& entry, bool mondayStart) {
  // Week order of the letters and their mask bits.
  static const char* const kLetters[7] = {"日", "月", "火", "水", "木", "金", "土"};
  static const int kBits[7] = {kMaskSunday, kMaskMonday, kMaskTuesday, kMaskWednesday,
                               kMaskThursday, kMaskFriday, kMaskSaturday};
  const CivilTime c = ToCivil(entry.AlarmTime);
  std::string line;
  line.reserve(mark.size() + 64);
  line += mark;
  AppendDigits(line, c.hour, 2);
  line += ':';
  AppendDigits(line, c.minute, 2);
  line += ' ';
  AppendDigits(line, c.year, 4);
  line += '/';
  AppendDigits(line, c.month, 2);
  line += '/';
  AppendDigits(line, c.day, 2);
  line += ' ';
  line += RepeatKindLabel(entry.RepeatKind);
  line += ' ';
  for (int k = 0; k < 7; ++k) {
    const int d = mondayStart ? (k + 1) % 7 : k;
    line += (entry.WeekdayMask & kBits[d]) != 0 ? kLetters[d] : "－";
  }
  return line;
}

std::string ListRowWithMessage(const std::string& line, const std::string& message, int columns) {
  constexpr int kGap = 2;
  const int room = columns - Utf8Columns(line) - kGap;
  if (message.empty() || room < 4) return line;  // too narrow a list shows the line alone
  // No more of a long message than the row can show is looked at (every cluster takes a
  // column at least): a table may hold 32767 entries of 32767 characters each.
  std::string oneLine(message.substr(0, Utf8ClusterCountPrefixBytes(message, size_t(room) + 1)));
  for (char& ch : oneLine)
    if (ch == '\r' || ch == '\n' || ch == '\t') ch = ' ';
  return line + std::string(kGap, ' ') + CutToColumns(oneLine, room);
}

std::vector<ListRow> BuildAlarmList(const AlarmTable& table, const std::vector<SortKey>& keys,
                                    OleDate calendarDay, OleDate now, bool dailyView, bool mondayStart,
                                    const DaysOff* daysOff) {
  const int count = table.EntryCount();
  WB_ASSERT(int(keys.size()) >= count);
  std::vector<ListRow> rows;
  rows.reserve(size_t(count));
  OleDate unusedNextBell = 0;  // the list's day tests offer bell times the tip recomputes anyway
  for (int r = 0; r < count; ++r) {
    const int slot = keys[size_t(r)].Slot;
    const bool occurs = OccursOn(table, slot, calendarDay, now, unusedNextBell, daysOff);
    if (dailyView && !occurs) continue;
    const std::string mark = occurs ? ListMark(table[slot], calendarDay, now) : kRungMark;
    rows.push_back({slot, ListLineText(mark, table[slot], mondayStart)});
  }
  return rows;
}

}  // namespace wb
