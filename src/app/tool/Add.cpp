// `add DATAFILE --kind K --at "yyyy/mm/dd hh:nn" [...]`: a new entry, made as the editor makes one
// from its fields: the same refusals and messages, what the options leave open taken from the
// settings beside the data file (the editor's pre-filled fields), the weekdays the editor's
// boxes would hold. Prints the new entry's slot.
#include <algorithm>
#include <map>
#include <memory>

#include "app/tool/Commands.h"
#include "app/tool/TableEdit.h"
#include "app/tool/ToolArgs.h"
#include "model/EntryRules.h"
#include "model/Holidays.h"
#include "platform/NativeServices.h"
#include "platform/Services.h"
#include "storage/AlarmExchange.h"
#include "storage/Settings.h"
#include "storage/TextBytes.h"

namespace wb::tool {
namespace {

const std::map<std::string, int16_t> kKinds = {
    {"once", kRepeatOnce},         {"daily", kRepeatDaily}, {"weekly", kRepeatWeekly}, {"monthly", kRepeatMonthly},
    {"biweekly", kRepeatBiweekly}, {"nth1", kRepeatNth1},   {"nth2", 8},               {"nth3", 9},
    {"nth4", 10},                  {"nth5", kRepeatNth5}};

constexpr const char* kDayLetters[] = {"日", "月", "火", "水", "木", "金", "土"};  // weekday 1..7

bool Storable(const std::string& text) {
  bool lossless = true;
  StorageCodec().ToCp932(text, &lossless);
  return lossless;
}

// "月火水木金" as mask bits; false for anything else.
bool ParseWeekdays(const std::string& text, int16_t& mask) {
  mask = 0;
  for (size_t i = 0; i < text.size();) {
    bool found = false;
    for (int weekday = 1; weekday <= 7 && !found; ++weekday) {
      const std::string letter = kDayLetters[weekday - 1];
      if (text.compare(i, letter.size(), letter) == 0) {
        mask = int16_t(mask | MaskBitOfWeekday(weekday));
        i += letter.size();
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

int Digits(const std::string& text, size_t at, size_t count) {
  int n = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    n = n * 10 + (text[i] - '0');
  }
  return n;
}

// Refused by the rules the editor applies: its message, exit 2.
int Refuse(const char* message, std::ostream& err) {
  err << "wakebell-tool add: " << message << "\n";
  return 2;
}

}  // namespace

int Add(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("add", args, {"--kind", "--at", "--weekdays", "--pre", "--message", "--sound"},
                 {"--rest-on-days-off"}, a, err))
    return 2;
  auto value = [&](const char* option) -> const std::string* {
    auto it = a.values.find(option);
    return it == a.values.end() ? nullptr : &it->second;
  };
  const std::string* kindText = value("--kind");
  if (!kindText || !kKinds.count(*kindText)) {
    err << "wakebell-tool add: --kind needs once, daily, weekly, monthly, biweekly or nth1 ... nth5\n";
    return 2;
  }
  const int16_t kind = kKinds.at(*kindText);
  // "yyyy/mm/dd hh:nn": the shape first; then each number as the editor's fields check it.
  const std::string* at = value("--at");
  if (!at || at->size() != 16 || (*at)[4] != '/' || (*at)[7] != '/' || (*at)[10] != ' ' || (*at)[13] != ':' ||
      Digits(*at, 0, 4) < 1 || Digits(*at, 5, 2) < 1 || Digits(*at, 5, 2) > 12 || Digits(*at, 8, 2) < 0 ||
      Digits(*at, 11, 2) < 0 || Digits(*at, 14, 2) < 0) {
    err << "wakebell-tool add: --at needs a moment \"yyyy/mm/dd hh:nn\"\n";
    return 2;
  }
  const int year = Digits(*at, 0, 4), month = Digits(*at, 5, 2), day = Digits(*at, 8, 2);
  const int hour = Digits(*at, 11, 2), minute = Digits(*at, 14, 2);
  if (hour > 23) return Refuse(kHourMessage, err);
  if (minute > 59) return Refuse(kMinuteMessage, err);
  if (day < 1 || day > 31) return Refuse(kDayMessage, err);
  if (day > DaysInMonth(year, month)) return Refuse(kDayNotInMonthMessage, err);

  const Preferences prefs = ReadSettings<Preferences>(DataIniPath(a.dataFile));
  // What the options leave open comes from the editor's pre-filled fields: sound, look, blinking.
  AlarmEntry e = NewEntryPattern(prefs);
  e.AlarmTime = MakeDate(year, month, day, hour, minute, 0);
  e.RepeatKind = kind;
  // The weekday boxes as the editor leaves them for each kind: the date's own weekday, every
  // day for daily, the chosen ones for the kinds that ring on weekdays.
  const int16_t dateBit = MaskBitOfWeekday(WeekdayOf(e.AlarmTime));
  e.WeekdayMask = kind == kRepeatDaily ? int16_t(0x7F) : dateBit;
  if (const std::string* days = value("--weekdays")) {
    int16_t mask = 0;
    if (!ParseWeekdays(*days, mask)) {
      err << "wakebell-tool add: --weekdays takes the letters 日月火水木金土\n";
      return 2;
    }
    if (kind != kRepeatWeekly && !(kind >= kRepeatNth1 && kind <= kRepeatNth5)) {
      err << "wakebell-tool add: --weekdays is for weekly and nth1 ... nth5; the other kinds ring on the date's "
             "weekday or every day\n";
      return 2;
    }
    e.WeekdayMask = mask;
  }
  if (a.flags.count("--rest-on-days-off") && RepeatKindCanRest(kind))
    e.WeekdayMask = int16_t(e.WeekdayMask | kMaskRestsOnDaysOff);
  e.PreBellMinutes = prefs.preBellMinutes;
  if (const std::string* pre = value("--pre")) {
    std::optional<int> lead = pre->empty() ? std::nullopt : WholeNumberArg(*pre);
    if (!lead) {
      err << "wakebell-tool add: --pre needs a whole number of minutes\n";
      return 2;
    }
    e.BellMode = BellMode::PreAndMain;
    e.PreBellMinutes = int16_t(std::min(*lead, 32767));
  }
  e.Message = value("--message") ? *value("--message") : prefs.message;
  if (const std::string* sound = value("--sound")) {
    e.Sound.Flag = 1;
    e.Sound.File = *sound;
  }
  if (!Storable(e.Message)) return Refuse(kMessageNotStorable, err);
  if (!Storable(e.Sound.File)) return Refuse(kSoundFileNotStorable, err);

  TableEdit edit;
  if (!ReadForEdit("add", a.dataFile, edit, err)) return 1;
  // The editor's sliders start at the devices' present volumes; the tool has no device, and
  // takes the volumes the user gave the table's last entry (full volume in an empty table).
  const int count = edit.table.EntryCount();
  e.MidiVolume = count > 0 ? edit.table[count - 1].MidiVolume : int32_t(0xFFFFFFFF);
  e.WaveVolume = count > 0 ? edit.table[count - 1].WaveVolume : int32_t(0xFFFFFFFF);
  if (const char* refusal = RefusalOfNewEntry(e, edit.table)) return Refuse(refusal, err);
  if (prefs.warnPastTime != 0) {
    std::unique_ptr<IClock> clock = MakeNativeClock();
    if (SecondNumber(e.AlarmTime) < SecondNumber(clock->Now()))
      err << "wakebell-tool add: " << kPastTimeQuestion << " (added as asked)\n";
  }
  const int slot = edit.table.Add(e);
  if (const int rc = WriteEdited("add", edit, err); rc != 0) return rc;
  out << slot << "\n";
  return 0;
}

}  // namespace wb::tool
