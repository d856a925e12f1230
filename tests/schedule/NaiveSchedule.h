// A second, deliberately plain implementation of the schedule, written from the rules as they
// are stated on texts: every date is compared as "yyyy/mm/dd", every minute as "hh:nn", moments
// as "yyyy/mm/dd hh:nn:ss", calendars through the month table and week window. It is slow on
// purpose and shares no arithmetic with the fast one; the cross-check test holds them together.
#pragma once
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/DueCheck.h"
#include "model/ListLine.h"

namespace wb::naive {

// The moment `minutes` later (earlier when negative), through the civil calendar.
OleDate AddMinutes(OleDate d, long minutes);

DueResult RunDueCheck(AlarmTable& table, OleDate now);
bool OccursOn(const AlarmEntry& e, OleDate day);
void Offer(const AlarmEntry& e, OleDate baseDay, OleDate now, OleDate& next);
bool ComputeTrayTip(const AlarmTable& table, OleDate calendarDay, OleDate now, OleDate& next, std::string& tip);
std::vector<ListRow> BuildAlarmList(const AlarmTable& table, const std::vector<int>& order, OleDate calendarDay,
                                    OleDate now, bool dailyView, bool mondayStart);

}  // namespace wb::naive
