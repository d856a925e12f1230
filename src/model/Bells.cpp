#include "model/Bells.h"

#include <algorithm>
#include <climits>

#include "model/DueCheck.h"

namespace wb {

int64_t PreBellOwnSecond(const AlarmEntry& entry, const DayTime& set, int64_t minuteStart, const DaysOff* daysOff) {
  const int64_t lead = entry.PreBellMinutes;
  const int64_t own = minuteStart - lead * 60;
  if (FloorMod(FloorDiv(minuteStart, 60), 1440) == set.Minute() && FloorMod(set.Minute() - lead, 1440) != set.Minute() &&
      BellsDueUnmarkedAt(entry, set, own, daysOff).pre)
    return own;
  return minuteStart;
}

void ForEachBell(const AlarmEntry& e, int64_t from, int64_t to, const DaysOff* daysOff, int64_t lastPreOwn,
                 const std::function<bool(const Bell&)>& visit) {
  if (to <= from) return;
  const DayTime set = DayTimeOf(e.AlarmTime);
  const bool main = RingsMainBell(e.BellMode), pre = RingsPreBell(e.BellMode);
  auto inSpan = [&](int64_t s) { return s > from && s <= to; };

  if (e.RepeatKind == kRepeatQuick) {  // one bell, at its set second; no pre-bell
    const int64_t at = set.Seconds();
    if (main && inSpan(at) && BellsDueUnmarkedAt(e, set, at, daysOff).main) visit({at, at, true});
    return;
  }
  // No bell lies before the start of the set day less the lead (a pre-bell is due when the set
  // day's minute is its lead ahead); a once entry has none after its day.
  const int64_t leadSeconds = std::max<int64_t>(int64_t(e.PreBellMinutes) * 60, 0);
  const int64_t earliest = FloorDiv(set.day * kSecondsPerDay - leadSeconds, kSecondsPerDay);
  int64_t firstDay = std::max(FloorDiv(from + 1, kSecondsPerDay), earliest);
  int64_t lastDay = FloorDiv(to, kSecondsPerDay);
  if (e.RepeatKind == kRepeatOnce) lastDay = std::min(lastDay, set.day);
  const int32_t setMinute = set.Minute();
  const int32_t preMinute = int32_t(FloorMod(int64_t(setMinute) - e.PreBellMinutes, 1440));
  for (int64_t day = firstDay; day <= lastDay; ++day) {
    const int64_t base = day * kSecondsPerDay;
    Bell found[2];
    int count = 0;
    // The pre-bell rings once a day, in the first of its minutes that is due: the set minute
    // less the lead or, for the kinds that ring a pre-bell that has not rung with the main bell,
    // the set minute. The due check's memory of the day is its mark, which this walk stands for.
    if (pre) {
      for (const int32_t minute : {std::min(preMinute, setMinute), std::max(preMinute, setMinute)}) {
        int64_t s = base + int64_t(minute) * 60;
        int64_t own = s;
        if (minute == setMinute && minute != preMinute) {
          own = PreBellOwnSecond(e, set, s, daysOff);
          if (own != s && own <= lastPreOwn) continue;  // that bell rang in its own minute
        }
        if (!BellsDueUnmarkedAt(e, set, s, daysOff).pre) {
          // A daily pre-bell on its first day is due only from the set second on.
          if (!BellsDueUnmarkedAt(e, set, s + 59, daysOff).pre) continue;
          s += set.sec % 60;
          own = s;
        }
        if (inSpan(s)) {
          found[count++] = {s, own, false};
          lastPreOwn = std::max(lastPreOwn, own);
        }
        break;  // the first one of the day rang (or would have): the other is then not due
      }
    }
    if (main) {
      const int64_t s = base + int64_t(setMinute) * 60;
      if (inSpan(s) && BellsDueUnmarkedAt(e, set, s, daysOff).main) found[count++] = {s, s, true};
    }
    if (count == 2 && found[1].second < found[0].second) std::swap(found[0], found[1]);
    for (int k = 0; k < count; ++k)
      if (!visit(found[k])) return;
  }
}

Bell FirstBellFrom(const AlarmEntry& entry, int64_t from, int64_t until, const DaysOff* daysOff) {
  Bell first{kNoBellYet, kNoBellYet, false};
  ForEachBell(entry, from - 1, until, daysOff, kNoBellYet, [&](const Bell& b) {
    first = b;
    return false;
  });
  return first;
}

}  // namespace wb
