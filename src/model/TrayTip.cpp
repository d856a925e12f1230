#include "model/TrayTip.h"

#include <cmath>

#include "model/DayMath.h"
#include "model/Schedule.h"
#include "model/Utf8.h"

namespace wb {

std::string LimitTrayTip(const std::string& tip) { return tip.substr(0, Utf8ClusterPrefixBytes(tip, kTrayTipMaxChars)); }

std::string TrayTipText(OleDate nextBellTime, OleDate now) {
  const double ahead = LinearSeconds(nextBellTime) - LinearSeconds(now);
  if (!(ahead < 86400.0)) return "２４時間中のアラームはありません";
  // Whole seconds as the clock shows them; 23:59:59.6 ahead reads as 24 hours, not as "now".
  const long long s = std::llround(std::fmax(ahead, 0.0));
  const long long h = s / 3600, n = s / 60 % 60, sec = s % 60;
  std::string text;
  if (h != 0 || n != 0 || sec != 0) {
    text = "あと";
    if (h != 0) text += std::to_string(h) + "時間";
    if (n != 0) text += std::to_string(n) + "分";
    if (sec != 0) text += std::to_string(sec) + "秒";
    text += ' ';
  } else {
    text = "アラーム中";
  }
  text += DayOf(nextBellTime) == DayOf(now) ? "本日" : "明日";
  text += FormatHourMinute(nextBellTime);
  return text;
}

bool ComputeTrayTip(const AlarmTable& table, OleDate calendarDay, OleDate now, OleDate& nextBellTime,
                    std::string& tip, const DaysOff* daysOff) {
  nextBellTime = 0;
  const int count = table.EntryCount();
  for (int i = 0; i < count; ++i) OccursOn(table, i, calendarDay, now, nextBellTime, daysOff);
  if (nextBellTime == 0) {
    for (int i = 0; i < count; ++i) OccursOnNextDay(table, i, calendarDay, now, nextBellTime, daysOff);
  }
  if (nextBellTime == 0) return false;
  tip = TrayTipText(nextBellTime, now);
  return true;
}

}  // namespace wb
